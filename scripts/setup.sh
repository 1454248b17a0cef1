#!/usr/bin/env bash
# Installs what building and testing Vorlinde needs on Debian, when missing,
# and nothing else.
# Run as root (or with sudo available); does nothing when all is there.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev libbenchmark-dev    # the native build and its tests
  g++-mingw-w64-i686 g++-mingw-w64-x86-64         # the product, the Windows test builds
  python3 python3-pefile                          # the tool and product-file checks
  libical-dev pkg-config python3-icalendar        # the agenda tool's calendar bridge, its tests
  bsdutils                                        # script(1): a terminal for the Windows program's console
  wine64 wine32:i386 xvfb imagemagick             # the wine suites and their screenshots
  fonts-ipafont-gothic                            # Japanese text in the wine suites' windows
  g++-multilib qemu-user-static                   # the i386 suite, wine32's qemu route
  clang libclang-rt-14-dev valgrind               # the fuzz targets, valgrind
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine (wine32:i386) runs the 32-bit product file in the tests.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
# A mirror in the middle of a sync can fail an index for a while: try a few
# times, then go on with the lists there are.
for attempt in 1 2 3; do
  $sudo apt-get update -qq && break
  echo "setup: apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep 20
done
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
