# The Windows builds: the module as a DLL named Vorlinde.dxl that needs no
# DLL beyond the system's, and the command-line host.
enable_language(RC)

add_library(Vorlinde SHARED
  $<TARGET_OBJECTS:vorlinde_objects>
  host/system_clock.cpp
  resources/vorlinde.def
)
target_include_directories(Vorlinde PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(Vorlinde PROPERTIES PREFIX "" SUFFIX ".dxl" OUTPUT_NAME Vorlinde)
target_link_options(Vorlinde PRIVATE -static -static-libgcc -static-libstdc++
                    -Wl,--enable-stdcall-fixup)
target_link_libraries(Vorlinde PRIVATE comdlg32 user32 kernel32)

add_executable(vorlinde-host tools/vorlinde_host.cpp tools/terminal_windows.cpp)
target_include_directories(vorlinde-host PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(vorlinde-host PRIVATE VORLINDE_DEFAULT_MODULE="Vorlinde.dxl")
target_link_options(vorlinde-host PRIVATE -static -static-libgcc -static-libstdc++)

# The host-level tests as 64-bit Windows programs, one per test source, run
# under wine64 by the native build's ctest (cmake/superbuild.cmake).
if(VORLINDE_TESTS)
  include(cmake/googletest.cmake)
  include(tests/host_tests.cmake)
  # An object library, so that the dialog driver's test-event listener is
  # linked into every program.
  add_library(vorlinde_wine_test_support OBJECT
    tests/platform_windows.cpp
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
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
    add_dependencies(${name} Vorlinde)
  endforeach()
endif()
