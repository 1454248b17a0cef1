# GoogleTest. A build for another processor or system cannot link the
# system's copy, so it builds its own from the sources Debian ships.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
  return()
endif()
if(TARGET GTest::gtest)
  return()
endif()

set(VORLINDE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${VORLINDE_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources at ${VORLINDE_GTEST_SOURCE}: install libgtest-dev "
                      "(scripts/setup.sh does) or set VORLINDE_GTEST_SOURCE.")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# On Windows GoogleTest synchronises with std::mutex (hence the posix thread
# model of MinGW in the Windows test build) and needs no pthreads of its own.
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(${VORLINDE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its sources are not ours to keep free of warnings.
foreach(target gtest gtest_main)
  target_compile_options(${target} PRIVATE -w)
endforeach()
# Recent GoogleTest names its targets as the installed package does.
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
