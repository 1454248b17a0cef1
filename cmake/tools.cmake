# The command-line tools, defined alike for the native build and the Windows
# builds: vorlinde-host, a chip host that loads the module, and
# vorlinde-agenda, which links the module's own objects with the agenda
# checker of tools/checker/. Their own texts are UTF-8.
if(WIN32)
  set(VORLINDE_TERMINAL_SOURCE tools/terminal_windows.cpp)
  set(VORLINDE_HOST_DEFAULT_MODULE Vorlinde.dxl)
else()
  find_package(Iconv REQUIRED)
  set(VORLINDE_TERMINAL_SOURCE tools/terminal_posix.cpp)
  set(VORLINDE_HOST_DEFAULT_MODULE $<TARGET_FILE:Vorlinde>)
endif()

# The checker, the tools' text helpers and how vorlinde-agenda was started,
# for vorlinde-agenda and its tests.
add_library(vorlinde_checker OBJECT tools/checker/checker.cpp tools/checker/encoding.cpp
                                    tools/checker/messages.cpp tools/texts.cpp tools/start_mode.cpp)
target_include_directories(vorlinde_checker PUBLIC ${PROJECT_SOURCE_DIR})
if(NOT WIN32)
  target_link_libraries(vorlinde_checker PUBLIC vorlinde_standin)
endif()

# A tool program from its own sources and what every tool shares.
function(vorlinde_tool name)
  add_executable(${name} ${ARGN} tools/memo_output.cpp ${VORLINDE_TERMINAL_SOURCE})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(WIN32)
    # The parts of the module's objects it does not call are dropped; a
    # release program carries no symbol table.
    target_link_options(${name} PRIVATE -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
    target_link_libraries(${name} PRIVATE comdlg32 user32 kernel32)
  else()
    target_link_libraries(${name} PRIVATE vorlinde_standin Iconv::Iconv)
  endif()
endfunction()

vorlinde_tool(vorlinde-host tools/vorlinde_host.cpp)
target_compile_definitions(vorlinde-host PRIVATE
                           VORLINDE_DEFAULT_MODULE="${VORLINDE_HOST_DEFAULT_MODULE}")
include(cmake/calendar.cmake)
vorlinde_tool(vorlinde-agenda tools/vorlinde_agenda.cpp tools/convert/convert.cpp tools/files.cpp
              ${VORLINDE_CALENDAR_SOURCES} host/system_clock.cpp
              $<TARGET_OBJECTS:vorlinde_checker> $<TARGET_OBJECTS:vorlinde_objects>)
target_link_libraries(vorlinde-agenda PRIVATE vorlinde_libical)
