# The fuzz build (VORLINDE_FUZZ): clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, Linux only. It builds the stand-in and the fuzz
# targets of fuzz/ and nothing else of the tree; the superbuild makes it as
# its own ExternalProject and runs the targets from ctest.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR WIN32)
  message(FATAL_ERROR "VORLINDE_FUZZ needs clang on Linux (-DCMAKE_CXX_COMPILER=clang++)")
endif()

add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

add_subdirectory(standin)
add_subdirectory(fuzz)
