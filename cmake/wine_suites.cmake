# The host-level tests as Windows programs under Wine (from
# cmake/superbuild.cmake), in one session per ctest run: one Xvfb display and
# one WoW64 prefix (tests/wine/wine-session.sh).
#  - wine64.*: the 64-bit Windows build of the tests and of the module;
#  - wine32.*: the 32-bit Windows build of the tests against the product file
#    itself, Vorlinde.dxl as it goes into the release archive, and the check
#    of its calling convention. 32-bit Wine runs natively where this machine
#    runs 32-bit programs, else under qemu-i386-static; wine32.qemu_route
#    proves the latter route on any machine.
include(${PROJECT_SOURCE_DIR}/tests/host_tests.cmake)
set(wine_tests ${VORLINDE_HOST_TEST_SOURCES} ${VORLINDE_HOST_TEST_SOURCES_WINDOWS}
               ${VORLINDE_CLOCK_TEST_SOURCES})
set(session ${CMAKE_BINARY_DIR}/wine-session)
set(scripts ${PROJECT_SOURCE_DIR}/tests/wine)

# A test that runs a Windows program of the session; 32-bit programs go to
# the session's 32-bit loader. One at a time: they share a display.
function(vorlinde_wine_test name program)
  add_test(NAME ${name}
           COMMAND sh ${scripts}/wine-run.sh ${session} ${CMAKE_BINARY_DIR}/screenshots
                   ${program} ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine-display TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()

vorlinde_find_tools(missing
  VORLINDE_MINGW_X86_64 x86_64-w64-mingw32-g++-posix
  VORLINDE_WINE64 wine64
  VORLINDE_WINESERVER wineserver
  VORLINDE_XVFB Xvfb)
if(missing)
  vorlinde_unavailable_suite(wine64
    "not found: ${missing} (packages g++-mingw-w64-x86-64, wine64, xvfb)")
  vorlinde_unavailable_suite(wine32 "the wine session needs ${missing}")
  return()
endif()

# What the qemu route of 32-bit Wine needs: qemu, the library that makes up
# for its differences (tests/wine/qemu_fixes.c, a 32-bit Linux library), and
# for the proof the filter that keeps 32-bit programs from running natively.
vorlinde_find_tools(qemu_missing
  VORLINDE_QEMU_I386 qemu-i386-static
  VORLINDE_CC gcc)
set(route ${CMAKE_BINARY_DIR}/wine32-route)
set(qemu_fixes)
if(NOT qemu_missing)
  set(qemu_fixes ${route}/qemu_fixes.so)
  add_custom_command(OUTPUT ${qemu_fixes}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${route}
    COMMAND ${VORLINDE_CC} -m32 -shared -fPIC -O2 -Wall -Wextra -Werror
            ${scripts}/qemu_fixes.c -o ${qemu_fixes} -ldl
    DEPENDS ${scripts}/qemu_fixes.c
    COMMENT "Building the 32-bit Wine preload for qemu-i386-static")
  add_custom_command(OUTPUT ${route}/no_i386
    COMMAND ${CMAKE_COMMAND} -E make_directory ${route}
    COMMAND ${VORLINDE_CC} -O2 -Wall -Wextra -Werror ${scripts}/no_i386.c -o ${route}/no_i386
    DEPENDS ${scripts}/no_i386.c
    COMMENT "Building the filter that refuses 32-bit system calls")
  add_custom_target(wine32_route ALL DEPENDS ${qemu_fixes} ${route}/no_i386)
endif()

message(STATUS "wine suites: ${VORLINDE_WINE64} with ${VORLINDE_XVFB}")
add_test(NAME wine.start
         COMMAND sh ${scripts}/wine-session.sh start ${session} ${VORLINDE_WINE64}
                 ${VORLINDE_WINESERVER} ${VORLINDE_XVFB} ${VORLINDE_QEMU_I386} ${qemu_fixes})
add_test(NAME wine.stop COMMAND sh ${scripts}/wine-session.sh stop ${session})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

vorlinde_sub_build(wine64
  -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-x86_64.cmake
  -DCMAKE_BUILD_TYPE=Debug
  -DVORLINDE_TESTS=ON
)
foreach(source ${wine_tests})
  get_filename_component(name ${source} NAME_WE)
  vorlinde_wine_test(wine64.${name} ${CMAKE_BINARY_DIR}/wine64/${name}.exe)
endforeach()
vorlinde_find_tools(missing
  VORLINDE_MINGW_I686_POSIX i686-w64-mingw32-g++-posix
  VORLINDE_WINE32 wine)
if(NOT VORLINDE_PRODUCT)
  vorlinde_unavailable_suite(wine32 "there is no product file to test")
  return()
elseif(missing)
  vorlinde_unavailable_suite(wine32 "not found: ${missing} (packages g++-mingw-w64-i686 and "
                                    "wine32:i386 of the i386 architecture)")
  return()
endif()
# The 32-bit test programs, with a copy of the product file beside them. Those
# that need the test clock link the module's sources with it instead (see
# tests/host_tests.cmake).
vorlinde_sub_build(wine32
  -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-i686-posix.cmake
  -DCMAKE_BUILD_TYPE=Debug
  -DVORLINDE_TESTS=ON
  -DVORLINDE_TEST_MODULE_FILE=${VORLINDE_PRODUCT}
  OPTIONS DEPENDS product
)
# The shipped vorlinde-agenda.exe, with its zone folder, as the release holds
# it, against the native program: its memo bytes, findings and statuses, its
# conversions, and the bytes of each import, export and expand. (No 64-bit
# build of the program is made: it is not shipped, and the 32-bit one runs
# the same code.)
function(vorlinde_wine_tool_test name script)
  add_test(NAME ${name}
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/tool/${script}
                   $<TARGET_FILE:vorlinde-agenda>
                   --windows sh ${scripts}/wine-run.sh ${session} ${CMAKE_BINARY_DIR}/screenshots
                   ${VORLINDE_AGENDA_EXE} ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine-display TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()
vorlinde_wine_tool_test(wine32.vorlinde_agenda check_agenda_tool.py)
vorlinde_wine_tool_test(wine32.vorlinde_agenda_convert check_convert.py)
vorlinde_wine_tool_test(wine32.vorlinde_agenda_calendar check_calendar.py)
vorlinde_wine_tool_test(wine32.vorlinde_agenda_web check_web.py)
# refresh replaces a file another process holds open for a moment, as the
# plug-in does while it reads one.
vorlinde_wine_tool_test(wine32.vorlinde_agenda_refresh check_refresh.py
                        --hold sh ${scripts}/wine-run.sh ${session} ${CMAKE_BINARY_DIR}/screenshots
                        ${CMAKE_BINARY_DIR}/wine32/hold_open.exe)
# File names beyond the ANSI code page, in an English and a Japanese locale,
# and a read-only agenda file left as it is.
vorlinde_wine_tool_test(wine32.vorlinde_agenda_wide_names check_wide_names.py)
# What it writes to a console shows Japanese whatever the console's code page.
vorlinde_wine_tool_test(wine32.vorlinde_agenda_console check_console.py)
# A calendar dropped onto it makes the native program's agenda file, and
# refresh --schedule registers one task, which --unschedule removes.
vorlinde_wine_tool_test(wine32.vorlinde_agenda_dropped check_dropped.py --session ${session})
foreach(source ${wine_tests})
  get_filename_component(name ${source} NAME_WE)
  vorlinde_wine_test(wine32.${name} ${CMAKE_BINARY_DIR}/wine32/${name}.exe)
endforeach()
# The files room on the real KERNEL32 (tests/wine/files_windows_test.cpp).
vorlinde_wine_test(wine32.files_windows ${CMAKE_BINARY_DIR}/wine32/files_windows_test.exe)
set_tests_properties(wine32.files_windows PROPERTIES ENVIRONMENT VORLINDE_WINE_UTF8_NAMES=1)
# Every entry point of the product a plain (caller-cleans) function, and a
# module with one stdcall entry point caught by the same check.
vorlinde_wine_test(wine32.calling_convention ${CMAKE_BINARY_DIR}/wine32/calling_convention_check.exe
                   Vorlinde.dxl)
vorlinde_wine_test(wine32.calling_convention_catches_stdcall
                   ${CMAKE_BINARY_DIR}/wine32/calling_convention_check.exe stdcall_module.dll)
set_tests_properties(wine32.calling_convention_catches_stdcall PROPERTIES
  PASS_REGULAR_EXPRESSION "Update: the stack pointer moved by 12 bytes")

if(qemu_missing)
  vorlinde_unavailable_suite(wine32.qemu_route "not found: ${qemu_missing} (packages "
                                               "qemu-user-static, gcc-multilib)")
  return()
endif()
# 32-bit Wine under qemu, in a session of its own under a filter that kills
# any 32-bit system call, as on a machine that cannot run 32-bit programs.
add_test(NAME wine32.qemu_route
         COMMAND sh ${scripts}/qemu-route-check.sh ${CMAKE_BINARY_DIR}/wine-qemu-session
                 ${route}/no_i386 ${VORLINDE_WINE64} ${VORLINDE_WINESERVER} ${VORLINDE_XVFB}
                 ${VORLINDE_QEMU_I386} ${qemu_fixes}
                 ${CMAKE_BINARY_DIR}/wine32/calling_convention_check.exe Vorlinde.dxl)
set_tests_properties(wine32.qemu_route PROPERTIES TIMEOUT 300)
