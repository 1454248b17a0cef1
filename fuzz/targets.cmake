# The fuzz targets, each built from fuzz/<target>_fuzz.cpp with its corpus in
# fuzz/corpus/<target>/ and its regression inputs in fuzz/regressions/<target>/;
# import's corpus is the calendars of the tool's tests, tests/tool/calendar/.
set(VORLINDE_FUZZ_TARGETS match_line file_list compose_file host_calls import)
