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

include(cmake/tools.cmake)

# The tests of the tools and of the product file are Python scripts; the
# product's checks read the PE file with python3-pefile, which is Debian's
# python's.
find_program(VORLINDE_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT VORLINDE_PYTHON)
  find_program(VORLINDE_PYTHON python3 REQUIRED)
endif()

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
