# The host-level test sources: they load the built module as a host does and
# are built twice, natively over the stand-in and as a 64-bit Windows program
# run under wine64. One file per line, so that lists grown in parallel merge.

# Plain Win32, built for both platforms.
set(VORLINDE_HOST_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/descriptor_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_host_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/day_menu_host_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exchange_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_picker_test.cpp
)

# Checks only the stand-in can make (its call records, failure injection).
set(VORLINDE_HOST_TEST_SOURCES_STANDIN
  ${CMAKE_CURRENT_LIST_DIR}/ui_driver_standin_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exchange_standin_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_picker_standin_test.cpp
)

# Checks only real windows allow (live texts and styles, screenshots).
set(VORLINDE_HOST_TEST_SOURCES_WINDOWS
  ${CMAKE_CURRENT_LIST_DIR}/ui_driver_windows_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_windows_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exchange_windows_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_picker_windows_test.cpp
)

# Tests that need a clock they set: their Windows programs link the module's
# objects with the test clock instead of loading the module (natively they
# are part of the unit tests).
set(VORLINDE_CLOCK_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/dates_test.cpp
)
