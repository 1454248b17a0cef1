# The native Linux build: the module as a shared library over our Win32
# stand-in, the command-line host, the tests, and the other builds.
add_subdirectory(standin)
target_link_libraries(vorlinde_objects PUBLIC vorlinde_standin)

# The module exports the entry points and nothing else.
add_library(Vorlinde SHARED
  $<TARGET_OBJECTS:vorlinde_objects>
  $<TARGET_OBJECTS:vorlinde_module_attach>
  host/system_clock.cpp
)
target_include_directories(Vorlinde PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(Vorlinde PRIVATE vorlinde_standin)
set_target_properties(Vorlinde PROPERTIES PREFIX "" OUTPUT_NAME Vorlinde
                      LINK_DEPENDS ${CMAKE_SOURCE_DIR}/resources/vorlinde.map)
target_link_options(Vorlinde PRIVATE
                    # Exports the 19 entry points and hides everything else,
                    # as the .def file does for the Windows builds.
                    -Wl,--version-script=${CMAKE_SOURCE_DIR}/resources/vorlinde.map
                    # Every symbol must resolve at link time (against the
                    # stand-in), as it must for a Windows DLL, rather than
                    # when a host loads the module.
                    -Wl,--no-undefined)

find_package(Iconv REQUIRED)
add_executable(vorlinde-host tools/vorlinde_host.cpp tools/memo_output.cpp tools/terminal_posix.cpp)
target_include_directories(vorlinde-host PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vorlinde-host PRIVATE vorlinde_standin Iconv::Iconv)
target_compile_definitions(vorlinde-host PRIVATE VORLINDE_DEFAULT_MODULE="$<TARGET_FILE:Vorlinde>")

# The agenda checker, and vorlinde-agenda, which shows memos through the
# module's own objects and checks agenda files. Their own texts are UTF-8.
add_library(vorlinde_lint OBJECT agenda/lint.cpp)
target_include_directories(vorlinde_lint PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vorlinde_lint PUBLIC vorlinde_standin)
include(cmake/calendar.cmake)
add_executable(vorlinde-agenda tools/vorlinde_agenda.cpp tools/memo_output.cpp tools/terminal_posix.cpp
               ${VORLINDE_CALENDAR_SOURCES}
               host/system_clock.cpp $<TARGET_OBJECTS:vorlinde_lint>
               $<TARGET_OBJECTS:vorlinde_objects>)
target_include_directories(vorlinde-agenda PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vorlinde-agenda PRIVATE vorlinde_standin vorlinde_libical Iconv::Iconv)

if(VORLINDE_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()
if(VORLINDE_BENCH)
  add_subdirectory(bench)
endif()

option(VORLINDE_SUPERBUILD "Also build the product and the other test builds" ON)
if(VORLINDE_SUPERBUILD)
  include(cmake/superbuild.cmake)
endif()
