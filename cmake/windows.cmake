# The Windows builds: the module as a DLL named Vorlinde.dxl that needs no
# DLL beyond the system's, and the command-line host.
enable_language(RC)
# Resource scripts are UTF-8 (ours says so itself too); their texts must reach
# the module as exact UTF-16.
string(APPEND CMAKE_RC_FLAGS " --codepage=65001")

# Every program and DLL links the C and C++ runtimes' own code in, so that it
# needs no DLL beyond the system's.
add_link_options(-static -static-libgcc -static-libstdc++)

# The module throws nothing and asks nothing of run-time type information, so
# it is built without either: no exception handling, unwinder or demangler
# from the static C++ runtime comes into the file. Each function and datum
# gets a section of its own so that the linker can drop what nothing uses. A
# release build is optimised for size and carries no unwind tables, which
# only a debugger would read.
set(VORLINDE_LEAN_OPTIONS -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections
                          "$<$<CONFIG:Release>:-Os;-fno-asynchronous-unwind-tables>")
target_compile_options(vorlinde_objects PRIVATE ${VORLINDE_LEAN_OPTIONS})

# A test build may load a module built elsewhere instead of its own: the
# product file itself, copied beside the test programs, where LoadLibraryA
# looks first.
set(VORLINDE_TEST_MODULE_FILE "" CACHE FILEPATH
    "A built Vorlinde.dxl for the host-level tests to load instead of one built here")
if(VORLINDE_TEST_MODULE_FILE)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Vorlinde.dxl
    COMMAND ${CMAKE_COMMAND} -E copy ${VORLINDE_TEST_MODULE_FILE} ${CMAKE_BINARY_DIR}/Vorlinde.dxl
    DEPENDS ${VORLINDE_TEST_MODULE_FILE}
    COMMENT "Copying the module under test, ${VORLINDE_TEST_MODULE_FILE}")
  add_custom_target(Vorlinde ALL DEPENDS ${CMAKE_BINARY_DIR}/Vorlinde.dxl)
else()
  add_library(Vorlinde SHARED
    $<TARGET_OBJECTS:vorlinde_objects>
    host/system_clock.cpp
    resources/vorlinde.def
    resources/vorlinde.rc
  )
  target_compile_options(Vorlinde PRIVATE ${VORLINDE_LEAN_OPTIONS})
  target_include_directories(Vorlinde PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources
                             ${CMAKE_BINARY_DIR}/generated)
  set_target_properties(Vorlinde PROPERTIES PREFIX "" SUFFIX ".dxl" OUTPUT_NAME Vorlinde)
  target_link_options(Vorlinde PRIVATE
                      # Sections nothing refers to are dropped.
                      -Wl,--gc-sections
                      # A release file carries no symbol table or debug sections.
                      $<$<CONFIG:Release>:-s>)
  target_link_libraries(Vorlinde PRIVATE comdlg32 user32 kernel32)
endif()

include(cmake/tools.cmake)

# The host-level tests as Windows programs, one per test source, run under
# wine64 (64-bit) or 32-bit Wine by the native build's ctest
# (cmake/superbuild.cmake).
if(VORLINDE_TESTS)
  include(cmake/googletest.cmake)
  include(tests/host_tests.cmake)
  add_compile_options(${VORLINDE_TEST_TEXTS})
  # An object library, so that the dialog driver's test-event listener is
  # linked into every program.
  add_library(vorlinde_wine_test_support OBJECT
    tests/platform_windows.cpp
    testing/scratch_dir.cpp
    tests/test_support.cpp
    tests/ui_driver_windows.cpp
  )
  target_include_directories(vorlinde_wine_test_support PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(vorlinde_wine_test_support PUBLIC GTest::gtest)
  foreach(source ${VORLINDE_HOST_TEST_SOURCES} ${VORLINDE_HOST_TEST_SOURCES_WINDOWS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source} $<TARGET_OBJECTS:vorlinde_wine_test_support>)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    # Beside the program, where LoadLibraryA looks first.
    target_compile_definitions(${name} PRIVATE VORLINDE_TEST_MODULE="Vorlinde.dxl")
    target_link_libraries(${name} PRIVATE GTest::gtest_main comdlg32 gdi32 user32)
    add_dependencies(${name} Vorlinde)
  endforeach()
  # A 32-bit host's check that every entry point is a plain (caller-cleans)
  # function, and a module with one that is not, which the check must catch.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_executable(calling_convention_check tests/wine/calling_convention_check.cpp)
    target_include_directories(calling_convention_check PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(calling_convention_check PRIVATE user32)
    # Holds a file open as the plug-in does, for the test of refresh.
    add_executable(hold_open tests/wine/hold_open.cpp)
    # The files room on the real KERNEL32: wide names, ReplaceFileW, the
    # refresh lock.
    add_executable(files_windows_test tests/wine/files_windows_test.cpp tools/files/files.cpp
                                      tools/files/files_windows.cpp tools/encodings/encodings.cpp
                                      tools/encodings/encodings_windows.cpp
                                      tools/strings/strings.cpp)
    target_include_directories(files_windows_test PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(files_windows_test PRIVATE GTest::gtest_main)
    add_library(stdcall_module SHARED tests/wine/stdcall_module.cpp)
    set_target_properties(stdcall_module PROPERTIES PREFIX "")
    # Exports the stdcall function by its plain name, without "@12".
    target_link_options(stdcall_module PRIVATE -Wl,--kill-at)
  endif()
  foreach(source ${VORLINDE_CLOCK_TEST_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source} testing/fixed_clock.cpp $<TARGET_OBJECTS:vorlinde_objects>
                           $<TARGET_OBJECTS:vorlinde_wine_test_support>)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE GTest::gtest_main comdlg32 gdi32 user32)
  endforeach()
endif()

if(VORLINDE_BENCH)
  include(bench/shipped.cmake)
endif()
