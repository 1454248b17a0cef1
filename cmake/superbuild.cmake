# The other builds of the same tree, made as part of the native build so that
# one build and one ctest cover them all. A build whose tools this machine
# lacks is left out with a warning, and its suite stands as one test that is
# skipped, or fails in CI (CI=true), where every suite must run.
include(ExternalProject)

# Another build of this source tree, in ${CMAKE_BINARY_DIR}/<name> and made on
# every build of this one. The arguments after the name are its cache
# settings; anything after OPTIONS goes to ExternalProject_Add as it is.
function(vorlinde_sub_build name)
  cmake_parse_arguments(PARSE_ARGV 1 SUB "" "" "OPTIONS")
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
    CMAKE_ARGS ${SUB_UNPARSED_ARGUMENTS}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON
    ${SUB_OPTIONS}
  )
endfunction()

# Looks for the programs a suite needs, given as pairs of a variable and a
# program name (searched on the PATH and beside Wine's loaders); sets
# `missing` to the names of those not found, or to nothing.
function(vorlinde_find_tools missing)
  set(names)
  set(tools ${ARGN})
  while(tools)
    list(POP_FRONT tools variable program)
    find_program(${variable} ${program} PATHS /usr/lib/wine)
    if(NOT ${variable})
      list(APPEND names ${program})
    endif()
  endwhile()
  string(REPLACE ";" ", " names "${names}")
  set(${missing} "${names}" PARENT_SCOPE)
endfunction()

# A suite this machine cannot run: a warning, and one test that is skipped,
# or fails in CI.
function(vorlinde_unavailable_suite name why)
  message(WARNING "The ${name} suite will not run: ${why}. scripts/setup.sh installs what it "
                  "needs; in CI (CI=true) its test fails.")
  if(VORLINDE_TESTS)
    add_test(NAME ${name}.unavailable
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/suite_unavailable.sh
                     "the ${name} suite cannot run: ${why}")
    set_tests_properties(${name}.unavailable PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endfunction()

# The product: Vorlinde.dxl, 32-bit, built as its toolchain file alone builds
# it (a release build without tests), and the release archive.
vorlinde_find_tools(missing VORLINDE_MINGW_I686 i686-w64-mingw32-g++)
if(missing)
  set(VORLINDE_PRODUCT)
  vorlinde_unavailable_suite(product "not found: ${missing} (package g++-mingw-w64-i686); "
                                     "neither Vorlinde.dxl nor the release archive is built")
else()
  include(cmake/product.cmake)
endif()

if(VORLINDE_TESTS)
  include(cmake/wine_suites.cmake)

  # The module, the stand-in and the native suites built for 32-bit Linux
  # and run under qemu-i386-static: the product's data model, executed.
  vorlinde_find_tools(missing VORLINDE_QEMU_I386 qemu-i386-static)
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/m32-probe)
  file(WRITE ${probe}.cpp "#include <string>\nint main() { return std::string().size(); }\n")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -m32 ${probe}.cpp -o ${probe}
                  RESULT_VARIABLE m32 OUTPUT_QUIET ERROR_QUIET)
  if(missing)
    vorlinde_unavailable_suite(i386 "not found: ${missing} (package qemu-user-static)")
  elseif(NOT m32 EQUAL 0)
    vorlinde_unavailable_suite(i386 "${CMAKE_CXX_COMPILER} -m32 cannot link (package g++-multilib)")
  else()
    message(STATUS "i386 suite: g++ -m32 under ${VORLINDE_QEMU_I386}")
    vorlinde_sub_build(i386
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-linux-i386.cmake
      -DCMAKE_BUILD_TYPE=Debug
      -DVORLINDE_SUPERBUILD=OFF
      -DVORLINDE_TESTS=ON
    )
    add_test(NAME i386.suite
             COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${CMAKE_BINARY_DIR}/i386
                     --output-on-failure --no-tests=error --timeout 120)
    set_tests_properties(i386.suite PROPERTIES TIMEOUT 900)
  endif()

  include(cmake/hardening.cmake)
endif()
