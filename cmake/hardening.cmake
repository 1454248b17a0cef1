# Two more builds of the same tree for hardening, made by the superbuild for
# its tests:
#  - plain: native Release without sanitizers, for valgrind and the benchmarks
#    (bench/compare uses such a build too);
#  - fuzz: clang with libFuzzer, the fuzz targets of fuzz/ (cmake/fuzz.cmake).
# ctest runs valgrind over the command-line host, a short benchmark run, every
# committed fuzz input, and each fuzz target for a bounded time.

vorlinde_sub_build(plain
  -DCMAKE_BUILD_TYPE=Release
  -DVORLINDE_SUPERBUILD=OFF
  -DVORLINDE_TESTS=OFF
  -DVORLINDE_BENCH=ON
  # What its tests run, and not the agenda tool, which the native build
  # tests.
  OPTIONS BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target Vorlinde vorlinde-host
                        vorlinde_bench compose_file
)

# The benchmarks still build and run; the figures are bench/compare's job.
add_test(NAME plain.bench
         COMMAND ${CMAKE_BINARY_DIR}/plain/bench/vorlinde_bench
                 --benchmark_filter=/1000$ --benchmark_min_time=0.01)

vorlinde_find_tools(missing VORLINDE_VALGRIND valgrind)
if(missing)
  vorlinde_unavailable_suite(plain.valgrind "not found: ${missing} (package valgrind)")
else()
  # The command-line host over the sample: no memory error, nothing lost.
  add_test(NAME plain.valgrind
           COMMAND ${VORLINDE_VALGRIND} --error-exitcode=1 --leak-check=full
                   --errors-for-leak-kinds=definite,indirect
                   --show-leak-kinds=definite,indirect
                   ${CMAKE_BINARY_DIR}/plain/vorlinde-host ${PROJECT_SOURCE_DIR}/samples/sample.vrn)
endif()

# clang with its sanitizer and fuzzer runtimes (libclang-rt): a program built
# with them must link.
vorlinde_find_tools(missing VORLINDE_CLANG clang++)
if(NOT missing)
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/fuzzer-probe)
  file(WRITE ${probe}.cpp "#include <stddef.h>\n#include <stdint.h>\n"
       "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
  execute_process(COMMAND ${VORLINDE_CLANG} -fsanitize=fuzzer,address,undefined ${probe}.cpp
                          -o ${probe}
                  RESULT_VARIABLE linked OUTPUT_QUIET ERROR_QUIET)
  if(NOT linked EQUAL 0)
    set(missing "clang's fuzzer and sanitizer runtimes")
  endif()
endif()
if(missing)
  vorlinde_unavailable_suite(fuzz "not found: ${missing} (packages clang, libclang-rt-14-dev)")
  return()
endif()
vorlinde_sub_build(fuzz
  -DCMAKE_CXX_COMPILER=${VORLINDE_CLANG}
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
  -DVORLINDE_FUZZ=ON
  -DVORLINDE_TESTS=OFF
  OPTIONS BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target fuzz_targets
)

set(VORLINDE_FUZZ_SECONDS 30 CACHE STRING "How long ctest fuzzes each target")
include(${PROJECT_SOURCE_DIR}/fuzz/targets.cmake)
foreach(target ${VORLINDE_FUZZ_TARGETS})
  set(binary ${CMAKE_BINARY_DIR}/fuzz/fuzz/fuzz_${target})
  add_test(NAME fuzz.${target}.regressions
           COMMAND ${PROJECT_SOURCE_DIR}/fuzz/run_fuzz.sh regressions ${binary} ${target})
  add_test(NAME fuzz.${target}.explore
           COMMAND ${PROJECT_SOURCE_DIR}/fuzz/run_fuzz.sh explore ${binary} ${target}
                   ${CMAKE_BINARY_DIR}/fuzz-work ${VORLINDE_FUZZ_SECONDS})
  set_tests_properties(fuzz.${target}.explore PROPERTIES TIMEOUT 300)
endforeach()
