# Test build: 32-bit Linux (g++ -m32), run under qemu-i386-static, because
# some machines' kernels do not execute 32-bit programs and qemu runs them on
# every machine. It runs the module's own code with the product's data model:
# 4-byte handles and pointers.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# glibc's 64-bit time_t (and the 64-bit file offsets it requires), as every
# other build has.
set(CMAKE_C_FLAGS_INIT "-m32 -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-m32 -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64")
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
find_program(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static REQUIRED)
