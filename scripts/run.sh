#!/usr/bin/env bash
# Builds everything (the native module and host, and the 32-bit product
# Vorlinde.dxl) and shows today's agenda from the sample through the
# command-line host. Extra arguments go to the host (e.g. --raw).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=build/run
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVORLINDE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
echo "product: $(ls "$build"/product/Vorlinde.dxl)"
echo
"$build"/vorlinde-host "$@" samples/sample.vrn
