#!/usr/bin/env bash
# Builds every configuration and runs every test suite through one ctest
# run, the native suites under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test
build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVORLINDE_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
