# Test build: 32-bit Windows, run under 32-bit Wine. As the product's, but
# with the posix thread model, which gives the C++ library the std::mutex
# that GoogleTest needs; the programs link it statically like everything else.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
