# The product, Vorlinde.dxl, and vorlinde-agenda.exe, their checks, and the
# release archive (from cmake/superbuild.cmake).
vorlinde_sub_build(product
  -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-i686.cmake
  OPTIONS BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/product/Vorlinde.dxl
                           ${CMAKE_BINARY_DIR}/product/vorlinde-agenda.exe
                           ${CMAKE_BINARY_DIR}/product/vorlinde-agenda-task.exe
                           ${CMAKE_BINARY_DIR}/product/zoneinfo/zones.tab
)
set(VORLINDE_PRODUCT ${CMAKE_BINARY_DIR}/product/Vorlinde.dxl)
set(VORLINDE_AGENDA_EXE ${CMAKE_BINARY_DIR}/product/vorlinde-agenda.exe)
set(VORLINDE_AGENDA_TASK_EXE ${CMAKE_BINARY_DIR}/product/vorlinde-agenda-task.exe)

# Japan's holidays of the release's year and the ten after it, and the
# Japanese almanac of the same years, as agenda files made by this build's
# own vorlinde-agenda.
math(EXPR last_holiday_year "${VORLINDE_RELEASE_YEAR} + 10")
set(VORLINDE_HOLIDAYS ${CMAKE_BINARY_DIR}/holidays-jp.vrn)
set(VORLINDE_ALMANAC ${CMAKE_BINARY_DIR}/almanac-jp.vrn)
foreach(kind holidays almanac)
  set(made ${CMAKE_BINARY_DIR}/${kind}-jp.vrn)
  add_custom_command(OUTPUT ${made}
    COMMAND vorlinde-agenda ${kind} --from ${VORLINDE_RELEASE_YEAR} --until ${last_holiday_year}
            --output ${made}
    DEPENDS vorlinde-agenda
    COMMENT "Making ${kind}-jp.vrn for ${VORLINDE_RELEASE_YEAR} to ${last_holiday_year}")
endforeach()

# The release archive: the product, the agenda tool with libical's zone
# folder and licence and the windowless program its daily refresh runs, the
# sample agenda file, the holiday and almanac agendas and a readme.
set(VORLINDE_RELEASE Vorlinde-${PROJECT_VERSION})
set(VORLINDE_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${VORLINDE_RELEASE}.zip)
add_custom_command(OUTPUT ${VORLINDE_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -DNAME=${VORLINDE_RELEASE} -DARCHIVE=${VORLINDE_RELEASE_ZIP}
          -DSTAGE=${CMAKE_BINARY_DIR}/release -DPRODUCT=${VORLINDE_PRODUCT}
          -DTOOL=${VORLINDE_AGENDA_EXE} -DTASK=${VORLINDE_AGENDA_TASK_EXE}
          -DHOLIDAYS=${VORLINDE_HOLIDAYS} -DALMANAC=${VORLINDE_ALMANAC}
          -DZONES=${CMAKE_BINARY_DIR}/product/zoneinfo
          -DLICENCES=${CMAKE_BINARY_DIR}/product/libical-licence
          -DSAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.vrn
          -DREADME=${PROJECT_SOURCE_DIR}/resources/readme.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/release.cmake
  DEPENDS ${VORLINDE_PRODUCT} ${VORLINDE_AGENDA_EXE} ${VORLINDE_AGENDA_TASK_EXE}
          ${VORLINDE_HOLIDAYS} ${VORLINDE_ALMANAC} ${CMAKE_BINARY_DIR}/product/zoneinfo/zones.tab
          ${PROJECT_SOURCE_DIR}/samples/sample.vrn
          ${PROJECT_SOURCE_DIR}/resources/readme.txt ${PROJECT_SOURCE_DIR}/cmake/release.cmake
  COMMENT "Packing ${VORLINDE_RELEASE}.zip"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${VORLINDE_RELEASE_ZIP})
add_dependencies(release product)

if(VORLINDE_TESTS)
  add_test(NAME product.file
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_product.py
                   ${VORLINDE_PRODUCT})
  add_test(NAME product.resources
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_resources.py
                   ${VORLINDE_PRODUCT})
  add_test(NAME product.checks_catch_faults
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_product_test.py
                   ${VORLINDE_PRODUCT})
  add_test(NAME product.release_archive
           COMMAND ${VORLINDE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/product/check_release.py
                   ${VORLINDE_RELEASE_ZIP} ${VORLINDE_PRODUCT} ${VORLINDE_AGENDA_EXE}
                   ${VORLINDE_AGENDA_TASK_EXE} ${PROJECT_SOURCE_DIR}/samples/sample.vrn
                   $<TARGET_FILE:vorlinde-agenda> ${VORLINDE_RELEASE_YEAR})
endif()
