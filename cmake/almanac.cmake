# The Japanese almanac: its astronomy (tools/astronomy/) and its rules
# (tools/almanac/), as VORLINDE_ALMANAC_SOURCES, and their tests, as
# VORLINDE_ALMANAC_TESTS. Both need tools/dates/dates.cpp and
# agenda/calendar.cpp beside them.
set(VORLINDE_ALMANAC_SOURCES
  ${PROJECT_SOURCE_DIR}/tools/astronomy/astronomy.cpp
  ${PROJECT_SOURCE_DIR}/tools/almanac/almanac.cpp
)
set(VORLINDE_ALMANAC_TESTS
  ${PROJECT_SOURCE_DIR}/tools/astronomy/astronomy_test.cpp
  ${PROJECT_SOURCE_DIR}/tools/almanac/almanac_test.cpp
)
