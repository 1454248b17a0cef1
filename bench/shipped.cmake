# The benchmark of the shipped file: a 32-bit host program that loads
# Vorlinde.dxl by path and times its entry points on large agenda files.
# bench/shipped builds it with the product and runs it under 32-bit Wine.
add_executable(update_bench bench/update_bench.cpp)
target_include_directories(update_bench PRIVATE ${CMAKE_SOURCE_DIR})
