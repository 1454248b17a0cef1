# The command-line tools: vorlinde-host, a chip host that loads the module,
# and vorlinde-agenda, which links the module's own objects with the tool
# libraries of tools/. The native build makes them, and so does the product's
# build for Windows (vorlinde-agenda.exe ships). The test builds made for
# other systems do not: the Windows ones test the shipped program under Wine,
# and the 32-bit Linux one is there for the module's 4-byte pointers, which
# the shipped 32-bit program shows as well. Their own texts are UTF-8.
if(CMAKE_CROSSCOMPILING AND VORLINDE_TESTS)
  return()
endif()
if(WIN32)
  set(platform windows)
  set(VORLINDE_HOST_DEFAULT_MODULE Vorlinde.dxl)
else()
  find_package(Iconv REQUIRED)
  set(platform posix)
  set(VORLINDE_HOST_DEFAULT_MODULE $<TARGET_FILE:Vorlinde>)
endif()

# What both programs share: the argument reader, dates, text encodings, the
# shared text pieces, the console and the desktop.
add_library(vorlinde_tool_base OBJECT
  tools/arguments/arguments.cpp
  tools/strings/strings.cpp
  tools/dates/dates.cpp
  tools/desktop/desktop_${platform}.cpp
  tools/console/console.cpp
  tools/console/console_${platform}.cpp
  tools/encodings/encodings.cpp
  tools/encodings/encodings_${platform}.cpp
)
# vorlinde-agenda's libraries and front end (all but its main), for it and
# its tests.
include(cmake/calendar.cmake)
include(cmake/web.cmake)
include(cmake/almanac.cmake)
add_library(vorlinde_agenda_objects OBJECT
  tools/programs/vorlinde_agenda/agenda_commands.cpp
  tools/programs/vorlinde_agenda/calendar_commands.cpp
  tools/programs/vorlinde_agenda/command_table.cpp
  tools/programs/vorlinde_agenda/dropped_files.cpp
  tools/programs/vorlinde_agenda/finding_words.cpp
  tools/programs/vorlinde_agenda/dropped_names.cpp
  tools/programs/vorlinde_agenda/environment.cpp
  tools/programs/vorlinde_agenda/holidays_command.cpp
  tools/programs/vorlinde_agenda/almanac_command.cpp
  tools/programs/vorlinde_agenda/start_mode.cpp
  tools/programs/vorlinde_agenda/tell.cpp
  tools/checker/checker.cpp
  tools/chip_paths/chip_paths.cpp
  tools/convert/convert.cpp
  tools/files/files.cpp
  tools/files/files_${platform}.cpp
  tools/holidays/holidays.cpp
  tools/agenda_lines/agenda_lines.cpp
  tools/processes/processes_${platform}.cpp
  tools/schedule/schedule.cpp
  tools/schedule/schedule_${platform}.cpp
  tools/programs/vorlinde_agenda/texts.cpp
  ${VORLINDE_CALENDAR_SOURCES}
  ${VORLINDE_ALMANAC_SOURCES}
)
target_link_libraries(vorlinde_agenda_objects PUBLIC vorlinde_libical vorlinde_web)
foreach(library vorlinde_tool_base vorlinde_agenda_objects)
  target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR})
  if(NOT WIN32)
    target_link_libraries(${library} PUBLIC vorlinde_standin)
  endif()
endforeach()

# A tool program from its own sources and the objects it links.
function(vorlinde_tool name)
  add_executable(${name} ${ARGN} $<TARGET_OBJECTS:vorlinde_tool_base>)
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

vorlinde_tool(vorlinde-host tools/programs/vorlinde_host/main.cpp agenda/calendar.cpp)
target_compile_definitions(vorlinde-host PRIVATE
                           VORLINDE_DEFAULT_MODULE="${VORLINDE_HOST_DEFAULT_MODULE}")
vorlinde_tool(vorlinde-agenda tools/programs/vorlinde_agenda/main.cpp host/system_clock.cpp
              $<TARGET_OBJECTS:vorlinde_agenda_objects> $<TARGET_OBJECTS:vorlinde_objects>
              $<TARGET_OBJECTS:vorlinde_web>)
target_link_libraries(vorlinde-agenda PRIVATE vorlinde_libical vorlinde_web)
if(WIN32)
  # CommandLineToArgvW, to read the command line as UTF-16.
  target_link_libraries(vorlinde-agenda PRIVATE shell32)
endif()

# vorlinde-agenda-task.exe, what the daily refresh task runs: a GUI program
# that runs vorlinde-agenda.exe without a console window, needing no DLL
# beyond the system's (tools/programs/vorlinde_agenda_task/).
if(WIN32)
  add_executable(vorlinde-agenda-task WIN32 tools/programs/vorlinde_agenda_task/agenda_task.cpp
                                            tools/programs/vorlinde_agenda_task/command_line.cpp
                                            tools/processes/processes_windows.cpp)
  target_include_directories(vorlinde-agenda-task PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(vorlinde-agenda-task PRIVATE ${VORLINDE_LEAN_OPTIONS})
  target_link_options(vorlinde-agenda-task PRIVATE -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
endif()
