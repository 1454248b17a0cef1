#!/usr/bin/env bash
# Builds everything (the native module and host, and the 32-bit product
# Vorlinde.dxl with its release archive) and shows today's agenda from the
# sample through the command-line host. Extra arguments go to the host (e.g.
# --raw). The build's output is shown only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run
build=build/run
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVORLINDE_TESTS=OFF &&
       cmake --build "$build" -j"$(nproc)"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "run: the build failed (output above)" >&2
  exit 1
fi
echo "product: $(ls "$build"/product/Vorlinde.dxl) ($(stat -c %s "$build"/product/Vorlinde.dxl) bytes)"
echo
"$build"/vorlinde-host "$@" samples/sample.vrn
