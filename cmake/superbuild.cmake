# The other builds of the same tree, made as part of the native build so that
# one build and one ctest cover them all.
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

find_program(VORLINDE_MINGW_I686 i686-w64-mingw32-g++)
if(NOT VORLINDE_MINGW_I686)
  message(FATAL_ERROR "i686-w64-mingw32-g++ not found: the product Vorlinde.dxl cannot be "
                      "built. Install g++-mingw-w64-i686 (scripts/setup.sh does).")
endif()

# The product: Vorlinde.dxl, 32-bit, built as its toolchain file alone
# builds it (a release build without tests), and vorlinde-agenda.exe.
vorlinde_sub_build(product
  -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-i686.cmake
  OPTIONS BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/product/Vorlinde.dxl
                           ${CMAKE_BINARY_DIR}/product/vorlinde-agenda.exe
)
set(VORLINDE_PRODUCT ${CMAKE_BINARY_DIR}/product/Vorlinde.dxl)
set(VORLINDE_AGENDA_EXE ${CMAKE_BINARY_DIR}/product/vorlinde-agenda.exe)

if(VORLINDE_TESTS)
  # The product file's checks read the PE file with python3-pefile, which is
  # Debian's python's.
  find_program(VORLINDE_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(NOT VORLINDE_PYTHON)
    find_program(VORLINDE_PYTHON python3 REQUIRED)
  endif()
  add_test(NAME product.file
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_product.py
                   ${VORLINDE_PRODUCT})
  add_test(NAME product.resources
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_resources.py
                   ${VORLINDE_PRODUCT} ${PROJECT_VERSION})
  add_test(NAME tool.days
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/tool/check_host_days.py
                   $<TARGET_FILE:vorlinde-host> ${PROJECT_SOURCE_DIR}/samples/sample.vrn)
  add_test(NAME tool.agenda
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/tool/check_agenda_tool.py
                   $<TARGET_FILE:vorlinde-agenda> ${PROJECT_SOURCE_DIR}/tests/tool/traps.vrn
                   ${PROJECT_SOURCE_DIR}/samples/sample.vrn)
endif()

# The release archive: the product, the agenda tool, the sample agenda file
# and a readme.
set(VORLINDE_RELEASE Vorlinde-${PROJECT_VERSION})
set(VORLINDE_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${VORLINDE_RELEASE}.zip)
add_custom_command(OUTPUT ${VORLINDE_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -DNAME=${VORLINDE_RELEASE} -DARCHIVE=${VORLINDE_RELEASE_ZIP}
          -DSTAGE=${CMAKE_BINARY_DIR}/release -DPRODUCT=${VORLINDE_PRODUCT}
          -DTOOL=${VORLINDE_AGENDA_EXE}
          -DSAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.vrn
          -DREADME=${PROJECT_SOURCE_DIR}/resources/readme.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/release.cmake
  DEPENDS ${VORLINDE_PRODUCT} ${VORLINDE_AGENDA_EXE} ${PROJECT_SOURCE_DIR}/samples/sample.vrn
          ${PROJECT_SOURCE_DIR}/resources/readme.txt ${PROJECT_SOURCE_DIR}/cmake/release.cmake
  COMMENT "Packing ${VORLINDE_RELEASE}.zip"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${VORLINDE_RELEASE_ZIP})
add_dependencies(release product)

if(VORLINDE_TESTS)
  add_test(NAME product.checks_catch_faults
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_product_test.py
                   ${VORLINDE_PRODUCT})
  add_test(NAME product.release_archive
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_release.py
                   ${VORLINDE_RELEASE_ZIP} ${VORLINDE_PRODUCT} ${VORLINDE_AGENDA_EXE}
                   ${PROJECT_SOURCE_DIR}/samples/sample.vrn)

  # A suite this machine cannot run is skipped, or fails in CI.
  function(vorlinde_unavailable_suite name why)
    message(WARNING "The ${name} suite will not run: ${why}. scripts/setup.sh installs what "
                    "it needs; in CI (CI=true) its test fails.")
    add_test(NAME ${name}.unavailable
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/suite_unavailable.sh
                     "the ${name} suite cannot run: ${why}")
    set_tests_properties(${name}.unavailable PROPERTIES SKIP_RETURN_CODE 77)
  endfunction()

  # The host-level tests as 64-bit Windows programs under wine64, in one
  # session per ctest run: a private prefix and an Xvfb display.
  find_program(VORLINDE_MINGW_X86_64 x86_64-w64-mingw32-g++-posix)
  find_program(VORLINDE_WINE64 wine64 PATHS /usr/lib/wine)
  find_program(VORLINDE_WINESERVER NAMES wineserver wineserver64 PATHS /usr/lib/wine)
  find_program(VORLINDE_XVFB Xvfb)
  set(missing)
  foreach(tool MINGW_X86_64 WINE64 WINESERVER XVFB)
    if(NOT VORLINDE_${tool})
      list(APPEND missing ${tool})
    endif()
  endforeach()
  if(missing)
    string(REPLACE ";" ", " missing "${missing}")
    vorlinde_unavailable_suite(wine64
      "not found: ${missing} (packages g++-mingw-w64-x86-64, wine64, xvfb)")
  else()
    message(STATUS "wine64 suite: ${VORLINDE_WINE64} with ${VORLINDE_XVFB}")
    vorlinde_sub_build(wine64
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-x86_64.cmake
      -DCMAKE_BUILD_TYPE=Debug
      -DVORLINDE_TESTS=ON
    )
    set(session ${CMAKE_BINARY_DIR}/wine-session)
    add_test(NAME wine64.start
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/wine/wine-session.sh start ${session}
                     ${VORLINDE_WINE64} ${VORLINDE_WINESERVER} ${VORLINDE_XVFB})
    add_test(NAME wine64.stop
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/wine/wine-session.sh stop ${session})
    set_tests_properties(wine64.start PROPERTIES FIXTURES_SETUP wine64 TIMEOUT 180)
    set_tests_properties(wine64.stop PROPERTIES FIXTURES_CLEANUP wine64 TIMEOUT 60)
    include(${PROJECT_SOURCE_DIR}/tests/host_tests.cmake)
    foreach(source ${VORLINDE_HOST_TEST_SOURCES} ${VORLINDE_HOST_TEST_SOURCES_WINDOWS}
                   ${VORLINDE_CLOCK_TEST_SOURCES})
      get_filename_component(name ${source} NAME_WE)
      add_test(NAME wine64.${name}
               COMMAND sh ${PROJECT_SOURCE_DIR}/tests/wine/wine-run.sh ${session}
                       ${CMAKE_BINARY_DIR}/screenshots ${CMAKE_BINARY_DIR}/wine64/${name}.exe)
      # One at a time: they share a display.
      set_tests_properties(wine64.${name} PROPERTIES
        FIXTURES_REQUIRED wine64 RESOURCE_LOCK wine64-display TIMEOUT 300)
    endforeach()
    # vorlinde-agenda.exe: the native program's memo bytes and findings.
    add_test(NAME wine64.vorlinde_agenda
             COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/tool/check_agenda_tool.py
                     $<TARGET_FILE:vorlinde-agenda> ${PROJECT_SOURCE_DIR}/tests/tool/traps.vrn
                     ${PROJECT_SOURCE_DIR}/samples/sample.vrn
                     sh ${PROJECT_SOURCE_DIR}/tests/wine/wine-run.sh ${session}
                     ${CMAKE_BINARY_DIR}/screenshots ${CMAKE_BINARY_DIR}/wine64/vorlinde-agenda.exe)
    set_tests_properties(wine64.vorlinde_agenda PROPERTIES
      FIXTURES_REQUIRED wine64 RESOURCE_LOCK wine64-display TIMEOUT 120)
  endif()

  # The module, the stand-in and the native suites built for 32-bit Linux
  # and run under qemu-i386-static: the product's data model, executed.
  find_program(VORLINDE_QEMU_I386 qemu-i386-static)
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/m32-probe)
  file(WRITE ${probe}.cpp "#include <string>\nint main() { return std::string().size(); }\n")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -m32 ${probe}.cpp -o ${probe}
                  RESULT_VARIABLE m32 OUTPUT_QUIET ERROR_QUIET)
  if(NOT VORLINDE_QEMU_I386)
    vorlinde_unavailable_suite(i386 "qemu-i386-static not found (package qemu-user-static)")
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
endif()
include(cmake/hardening.cmake)
