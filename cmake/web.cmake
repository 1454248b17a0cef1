# The agenda tool's fetching of calendars from web addresses (tools/web/), as
# the object library vorlinde_web with what it links: on Windows WinHTTP, a
# system DLL; on Linux libcurl (Debian's libcurl4-openssl-dev), through
# pkg-config. (The 32-bit Linux test build, whose time_t is 64 bits wide
# while Debian's i386 libcurl has a 32-bit one, makes no tools.)
if(WIN32)
  add_library(vorlinde_web OBJECT tools/web/web.cpp tools/web/web_windows.cpp)
  target_link_libraries(vorlinde_web PUBLIC winhttp)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBCURL REQUIRED IMPORTED_TARGET libcurl)
  add_library(vorlinde_web OBJECT tools/web/web.cpp tools/web/web_curl.cpp)
  target_link_libraries(vorlinde_web PUBLIC PkgConfig::LIBCURL)
endif()
target_include_directories(vorlinde_web PUBLIC ${PROJECT_SOURCE_DIR})
