# Packs the release archive NAME.zip (ARCHIVE) for people who only install
# the plug-in: one folder NAME holding the product (PRODUCT), the agenda tool
# (TOOL) and the windowless program its daily refresh task runs (TASK), with
# the zone folder it reads (ZONES, as NAME/zoneinfo) and the licence texts of
# libical, which it contains (LICENCES, as NAME/libical), the sample agenda
# file (SAMPLE), Japan's holidays (HOLIDAYS), the Japanese almanac (ALMANAC)
# and the readme (README, kept in
# UTF-8 here and shipped in Shift-JIS with CR LF, as a Japanese Windows reads
# text files). The folder is staged under STAGE.
#   cmake -DNAME=... -DARCHIVE=... -DSTAGE=... -DPRODUCT=... -DTOOL=... -DTASK=... -DZONES=...
#         -DLICENCES=... -DSAMPLE=... -DHOLIDAYS=... -DALMANAC=... -DREADME=... -P release.cmake
foreach(variable NAME ARCHIVE STAGE PRODUCT TOOL TASK ZONES LICENCES SAMPLE HOLIDAYS ALMANAC
                 README)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "release.cmake: ${variable} not given")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/${NAME})
file(COPY ${PRODUCT} ${TOOL} ${TASK} ${SAMPLE} ${HOLIDAYS} ${ALMANAC} ${ZONES}
     DESTINATION ${STAGE}/${NAME})
file(COPY ${LICENCES}/ DESTINATION ${STAGE}/${NAME}/libical)

file(READ ${README} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${STAGE}/readme-utf8.txt "${text}")
execute_process(COMMAND iconv -f UTF-8 -t CP932 ${STAGE}/readme-utf8.txt
                OUTPUT_FILE ${STAGE}/${NAME}/readme.txt
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "release.cmake: cannot convert ${README} to Shift-JIS (iconv: ${result})")
endif()
file(REMOVE ${STAGE}/readme-utf8.txt)

file(REMOVE ${ARCHIVE})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ARCHIVE} --format=zip ${NAME}
                WORKING_DIRECTORY ${STAGE}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "release.cmake: cannot write ${ARCHIVE}")
endif()
