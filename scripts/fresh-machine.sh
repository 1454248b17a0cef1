#!/usr/bin/env bash
# Runs the README's two commands on a fresh Debian bookworm, as a new user
# would: makes a clean root with mmdebstrap (minbase, plus git and
# ca-certificates), clones this checkout's HEAD into it, and runs
# scripts/run.sh and then scripts/test.sh inside, in a chroot, printing each
# command's time and result. It downloads several hundred MB, so it is not
# part of CI; run it before landing a change to the build or its packages.
#   fresh-machine.sh [--keep] [--without PACKAGE]... [ROOT]
# ROOT defaults to /var/tmp/vorlinde-fresh; --keep leaves it for a look
# afterwards. --without PACKAGE pins PACKAGE (e.g. wine32:i386) away with an
# apt preference, as a mirror that cannot serve it would. Needs root.
#
# What the chroot is given from this machine, and why:
#  - /proc, /sys, /dev and /dev/pts bound in: compilers, Wine and Xvfb need
#    them, and script(1) a terminal;
#  - /dev/shm as a tmpfs of its own, for Wine's shared memory;
#  - /etc/resolv.conf copied, to reach the mirror;
#  - apt's sources and its Acquire settings from /etc/apt copied, so that the
#    root sees the same mirror as this machine's fresh image does.
set -euo pipefail

keep=
without=()
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1 ;;
    --without)
      without+=("$2")
      shift
      ;;
    -*)
      echo "usage: fresh-machine.sh [--keep] [--without PACKAGE]... [ROOT]" >&2
      exit 2
      ;;
    *) break ;;
  esac
  shift
done
root=${1:-/var/tmp/vorlinde-fresh}
project=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "fresh-machine.sh: run as root" >&2; exit 2; }
if ! command -v mmdebstrap >/dev/null; then
  apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null
fi

mounts=()
cleanup() {
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
  [ -n "$keep" ] && return
  if grep -q " $root/" /proc/self/mounts; then
    echo "fresh-machine: $root still has something mounted; left as it is" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT

rm -rf --one-file-system "$root"
echo "fresh-machine: making a clean bookworm root in $root"
mmdebstrap --quiet --variant=minbase --include=git,ca-certificates bookworm "$root" \
  /etc/apt/sources.list.d/*.sources
cp /etc/resolv.conf "$root/etc/resolv.conf"
for conf in /etc/apt/apt.conf.d/*; do
  grep -q '^Acquire::' "$conf" 2>/dev/null && cp "$conf" "$root/etc/apt/apt.conf.d/"
done
for package in "${without[@]}"; do
  printf 'Package: %s\nPin: release *\nPin-Priority: -1\n\n' "$package" \
    >>"$root/etc/apt/preferences.d/fresh-machine-without"
done
git clone --quiet "$project" "$root/src"
for place in proc sys dev dev/pts; do
  mount --rbind "/$place" "$root/$place"
  mounts+=("$root/$place")
done
mount -t tmpfs tmpfs "$root/dev/shm"
mounts+=("$root/dev/shm")

results=()
for command in scripts/run.sh scripts/test.sh; do
  echo "fresh-machine: $command"
  start=$(date +%s)
  status=0
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /src && $command" || status=$?
  seconds=$(($(date +%s) - start))
  results+=("$(printf '%-16s %dm%02ds  exit %d' "$command" $((seconds / 60)) $((seconds % 60)) "$status")")
done
echo "fresh-machine: results"
printf '  %s\n' "${results[@]}"
