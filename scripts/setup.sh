#!/usr/bin/env bash
# Installs what building and testing Vorlinde needs on Debian, when missing,
# and nothing else. Run as root (or with sudo available); does nothing when
# all is there.
#   setup.sh run    what building the product and the native programs needs
#   setup.sh test   that, and what every test suite needs (the default)
# The packages are installed together when they can be. When that fails (a
# mirror serving a stale index can make one package impossible to install,
# and apt then installs none), each is tried on its own, and those that could
# not be installed are named with the suites they leave out: those suites
# stand as `.unavailable` tests, which fail in CI.
set -euo pipefail

mode=${1:-test}
case "$mode" in
  run | test) ;;
  *)
    echo "usage: setup.sh [run|test]" >&2
    exit 2
    ;;
esac

# Each package with what it serves; what a missing one leaves out is said in
# those words.
run_packages=(
  "cmake|the build" "make|the build" "g++|the build" "pkg-config|the build"
  "python3|the build"
  "libical-dev|vorlinde-agenda (the calendar bridge)"
  "libcurl4-openssl-dev|vorlinde-agenda (web addresses)"
  "tzdata|the Windows program's zone folder"
  "g++-mingw-w64-i686|the product Vorlinde.dxl and the release archive"
)
test_packages=(
  "libgtest-dev|the native suites" "libbenchmark-dev|the benchmarks"
  "gcc|the wine32 suites on the qemu route"
  "g++-mingw-w64-x86-64|the wine64 suites"
  "python3-pefile|the product checks"
  "python3-icalendar|tool.calendar (the round trip read by another library)"
  "openssl|tool.web (its test certificates)"
  "bsdutils|wine32.vorlinde_agenda_convert (a console of its own)"
  "wine64|the wine64 and wine32 suites"
  "wine32:i386|the wine32 suites (the shipped files under 32-bit Wine)"
  "xvfb|the wine64 and wine32 suites" "imagemagick|the wine suites' screenshots"
  "fonts-ipafont-gothic|Japanese text in the wine suites' windows"
  "locales|the wine32 suites' file names beyond the ANSI code page (the locales' sources)"
  "g++-multilib|the i386 suite" "qemu-user-static|the i386 suite and 32-bit Wine's qemu route"
  "clang|the fuzz targets" "libclang-rt-14-dev|the fuzz targets" "valgrind|the valgrind runs"
)
entries=("${run_packages[@]}")
[ "$mode" = test ] && entries+=("${test_packages[@]}")

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for entry in "${entries[@]}"; do
  installed "${entry%%|*}" || missing+=("${entry%%|*}")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine (wine32:i386) runs the 32-bit product file in the tests; only the
# tests need the i386 architecture, so building alone never reads its index.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
# A mirror in the middle of a sync can fail an index for a while: try a few
# times, then go on with the lists there are.
for attempt in 1 2 3; do
  $sudo apt-get update -qq && break
  echo "setup: apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep 20
done

install() {
  $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
if install "${missing[@]}"; then
  exit 0
fi
echo "setup: installing them together failed; trying each on its own" >&2
failed=()
for package in "${missing[@]}"; do
  installed "$package" || install "$package" || failed+=("$package")
done
[ ${#failed[@]} -eq 0 ] && exit 0
for package in "${failed[@]}"; do
  for entry in "${entries[@]}"; do
    [ "${entry%%|*}" = "$package" ] &&
      echo "setup: could not install $package; left out: ${entry#*|}" >&2
  done
done
exit 0
