#!/usr/bin/env bash
# Runs one fuzz target for ctest.
#
#   run_fuzz.sh regressions TARGET-BINARY NAME
#       runs every committed input of fuzz/regressions/NAME and of the seed
#       corpus fuzz/corpus/NAME once
#   run_fuzz.sh explore TARGET-BINARY NAME WORK-DIR SECONDS
#       fuzzes for SECONDS from a copy of the seed corpus in WORK-DIR (the
#       source tree is never written); an input that fails is kept in
#       WORK-DIR/failures and must become a regression case
set -euo pipefail
mode=$1 binary=$2 name=$3
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
# The seed corpus: fuzz/corpus/NAME, or the folder fuzz/corpus/NAME.source
# names (relative to fuzz/), for inputs that tests keep elsewhere.
corpus=$fuzz_dir/corpus/$name
if [ -f "$corpus.source" ]; then
  corpus=$fuzz_dir/$(cat "$corpus.source")
fi

case "$mode" in
regressions)
  inputs=()
  for dir in "$fuzz_dir/regressions/$name" "$corpus"; do
    [ -d "$dir" ] || continue
    while IFS= read -r -d '' file; do inputs+=("$file"); done \
      < <(find "$dir" -type f -print0 | sort -z)
  done
  if [ ${#inputs[@]} -eq 0 ]; then
    echo "no inputs for $name" >&2
    exit 1
  fi
  "$binary" "${inputs[@]}"
  echo "$name: ${#inputs[@]} inputs passed"
  ;;
explore)
  work=$4 seconds=$5
  mkdir -p "$work/corpus/$name" "$work/failures"
  cp -n "$corpus"/* "$work/corpus/$name"/
  if ! "$binary" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$work/failures/$name-" "$work/corpus/$name"; then
    echo "$name failed: the input is in $work/failures;" \
         "add it to fuzz/regressions/$name/ once fixed" >&2
    exit 1
  fi
  ;;
*)
  echo "usage: run_fuzz.sh regressions|explore ..." >&2
  exit 2
  ;;
esac
