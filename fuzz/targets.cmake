# The fuzz targets, each built from fuzz/<target>_fuzz.cpp with its corpus in
# fuzz/corpus/<target>/ and its regression inputs in fuzz/regressions/<target>/.
set(VORLINDE_FUZZ_TARGETS match_line file_list compose_file host_calls)
