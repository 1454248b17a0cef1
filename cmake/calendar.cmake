# The agenda tool's calendar bridge (tools/icalendar/): its sources, as
# VORLINDE_CALENDAR_SOURCES, and libical, which it reads, writes and expands
# iCalendar with, as the target vorlinde_libical.
#  - Linux: Debian's libical-dev, through pkg-config.
#  - Windows: Debian's libical3 source, cross-built here as a static library
#    once per toolchain and kept for every build folder (build/libical/), or
#    a static libical already built for this toolchain
#    (VORLINDE_LIBICAL_PREFIX). Windows has
#    no zone data libical can read, so the build also makes libical's zone
#    folder from this machine's tzdata (VORLINDE_ZONE_FOLDER, "zoneinfo"
#    beside the program, where the program looks for it).
set(VORLINDE_CALENDAR_SOURCES
  tools/icalendar/agenda_import.cpp
  tools/icalendar/entry_text.cpp
  tools/icalendar/expand.cpp
  tools/icalendar/ical_export.cpp
  tools/icalendar/ical_file.cpp
  tools/icalendar/ical_import.cpp
  tools/icalendar/origin.cpp
  tools/icalendar/rule.cpp
  $<IF:$<BOOL:${WIN32}>,tools/icalendar/system_windows.cpp,tools/icalendar/system_posix.cpp>
)

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
  add_library(vorlinde_libical INTERFACE)
  target_link_libraries(vorlinde_libical INTERFACE PkgConfig::LIBICAL)
  return()
endif()

set(VORLINDE_LIBICAL_PREFIX "" CACHE PATH
    "A static libical built for this toolchain (include/, lib/libical.a) to use instead of building one")
# libical is built once per toolchain and kept here for every build folder
# that needs it (scripts/run.sh's and scripts/test.sh's, and the builds the
# latter makes), in a folder named for what it was built from and how: its
# fetch script (version and checksum), the compiler and the options below.
# Any change to those builds it anew in a folder of its own.
set(VORLINDE_LIBICAL_CACHE ${PROJECT_SOURCE_DIR}/build/libical CACHE PATH
    "Where libical builds are kept, one per toolchain, for every build folder")
# Where the source tarball is kept; builds that share it fetch it once.
set(VORLINDE_LIBICAL_DOWNLOAD_DIR ${VORLINDE_LIBICAL_CACHE}/download CACHE PATH
    "Where the libical source tarball is fetched to")
add_library(vorlinde_libical INTERFACE)
if(VORLINDE_LIBICAL_PREFIX)
  set(prefix ${VORLINDE_LIBICAL_PREFIX})
else()
  # time_t must be 64 bits in libical as in the program (the flag is set for
  # the program project-wide), or a 32-bit build stops repeating after 2037;
  # the 32-bit Linux toolchain file sets its own.
  # libical's pthread checks are turned off, or it would link winpthreads and
  # need its DLL; the tool has one thread.
  set(time_flags)
  if(WIN32)
    set(time_flags -DCMAKE_C_FLAGS=-D__MINGW_USE_VC2005_COMPAT
                   -DCMAKE_CXX_FLAGS=-D__MINGW_USE_VC2005_COMPAT)
  endif()
  set(options
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_LIBDIR=lib
    ${time_flags}
    -DSTATIC_ONLY=ON -DUSE_BUILTIN_TZDATA=$<BOOL:${WIN32}>
    -DICAL_GLIB=OFF -DICAL_GLIB_VAPI=OFF -DGOBJECT_INTROSPECTION=OFF
    -DICAL_BUILD_DOCS=OFF -DLIBICAL_BUILD_TESTING=OFF -DWITH_CXX_BINDINGS=OFF
    -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BerkeleyDB=ON
    -DHAVE_PTHREAD_H=OFF -DHAVE_PTHREAD_CREATE=OFF -DHAVE_PTHREAD_ATTR_GET_NP=OFF
    -DHAVE_PTHREAD_GETATTR_NP=OFF -DHAVE_PTHREAD_NP_H=OFF)
  file(READ ${PROJECT_SOURCE_DIR}/cmake/fetch_libical.sh fetch)
  file(READ ${CMAKE_TOOLCHAIN_FILE} toolchain)
  string(SHA1 key "${fetch};${toolchain};${CMAKE_C_COMPILER};${CMAKE_C_COMPILER_VERSION};${options}")
  string(SUBSTRING ${key} 0 12 key)
  set(prefix ${VORLINDE_LIBICAL_CACHE}/${CMAKE_SYSTEM_PROCESSOR}-${CMAKE_SYSTEM_NAME}-${key})
  # A build that was not finished has no stamp and is done again.
  if(NOT EXISTS ${prefix}/built)
    include(ExternalProject)
    ExternalProject_Add(libical_build
      PREFIX ${CMAKE_BINARY_DIR}/libical-build
      DOWNLOAD_COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/fetch_libical.sh
                       ${VORLINDE_LIBICAL_DOWNLOAD_DIR} <SOURCE_DIR>
      CMAKE_ARGS ${options} -DCMAKE_INSTALL_PREFIX=${prefix}
      BUILD_BYPRODUCTS ${prefix}/lib/libical.a
      UPDATE_COMMAND ""
    )
    # Its licence texts (MPL 2.0 or LGPL 2.1, at the user's choice), for the
    # release archive, then the stamp.
    ExternalProject_Add_Step(libical_build licence
      COMMAND ${CMAKE_COMMAND} -E make_directory ${prefix}/licence
      COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/LICENSE <SOURCE_DIR>/LICENSE.MPL2.txt
              <SOURCE_DIR>/LICENSE.LGPL21.txt ${prefix}/licence
      COMMAND ${CMAKE_COMMAND} -E touch ${prefix}/built
      DEPENDEES install)
    add_dependencies(vorlinde_libical libical_build)
  endif()
endif()
file(MAKE_DIRECTORY ${prefix}/include)
target_include_directories(vorlinde_libical INTERFACE ${prefix}/include)
target_link_libraries(vorlinde_libical INTERFACE ${prefix}/lib/libical.a)
if(NOT WIN32)
  return()
endif()
# libical's licence texts, which go into the release archive with the
# program, beside it in this build folder.
add_custom_target(libical_licence ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${prefix}/licence ${CMAKE_BINARY_DIR}/libical-licence)
if(TARGET libical_build)
  add_dependencies(libical_licence libical_build)
endif()

# The zone folder, made by a program of this machine (built natively, with
# this machine's libical) from its tzdata.
include(ExternalProject)
ExternalProject_Add(make_zone_folder
  PREFIX ${CMAKE_BINARY_DIR}/make-zone-folder
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/programs/make_zone_folder
  BINARY_DIR ${CMAKE_BINARY_DIR}/make-zone-folder/build
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/make-zone-folder/build/make_zone_folder
  INSTALL_COMMAND ""
)
set(VORLINDE_TZDATA /usr/share/zoneinfo)
set(VORLINDE_ZONE_FOLDER ${CMAKE_BINARY_DIR}/zoneinfo)
add_custom_command(OUTPUT ${VORLINDE_ZONE_FOLDER}/zones.tab
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${VORLINDE_ZONE_FOLDER}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VORLINDE_ZONE_FOLDER}
  COMMAND ${CMAKE_BINARY_DIR}/make-zone-folder/build/make_zone_folder ${VORLINDE_TZDATA}
          ${VORLINDE_ZONE_FOLDER}
  DEPENDS make_zone_folder ${CMAKE_BINARY_DIR}/make-zone-folder/build/make_zone_folder
          ${VORLINDE_TZDATA}/tzdata.zi
  COMMENT "Making libical's zone folder from ${VORLINDE_TZDATA}")
add_custom_target(zone_folder ALL DEPENDS ${VORLINDE_ZONE_FOLDER}/zones.tab)
