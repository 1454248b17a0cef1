# The other builds of the same tree, made as part of the native build so that
# one build and one ctest cover them all.
include(ExternalProject)

find_program(VORLINDE_MINGW_I686 i686-w64-mingw32-g++)
if(NOT VORLINDE_MINGW_I686)
  message(FATAL_ERROR "i686-w64-mingw32-g++ not found: the product Vorlinde.dxl cannot be "
                      "built. Install g++-mingw-w64-i686 (scripts/setup.sh does).")
endif()

# The product: Vorlinde.dxl, 32-bit.
ExternalProject_Add(product
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/product
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON
)
set(VORLINDE_PRODUCT ${CMAKE_BINARY_DIR}/product/Vorlinde.dxl)

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
endif()
include(cmake/hardening.cmake)
