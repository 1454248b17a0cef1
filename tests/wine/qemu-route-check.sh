#!/bin/sh
# Proves the qemu route of 32-bit Wine on any machine: under NO_I386, a filter
# that kills every 32-bit system call as a machine that cannot run 32-bit
# programs refuses them, a wine session of its own must take the qemu route
# and run PROGRAM (a 32-bit Windows program) there. The session is stopped
# whatever happens.
#
#   qemu-route-check.sh STATE NO_I386 WINE64 WINESERVER XVFB QEMU_I386 QEMU_FIXES PROGRAM [ARG...]
set -eu
state=$1 no_i386=$2 wine64=$3 wineserver=$4 xvfb=$5 qemu=$6 fixes=$7
shift 7
here=$(dirname "$0")
trap 'sh "$here/wine-session.sh" stop "$state"' EXIT
"$no_i386" sh "$here/wine-session.sh" start "$state" "$wine64" "$wineserver" "$xvfb" "$qemu" "$fixes"
route=$(. "$state/env" && echo "$WINE32_ROUTE")
if [ "$route" != qemu ]; then
  echo "qemu-route-check: the session took the $route route under the filter, not qemu" >&2
  exit 1
fi
"$no_i386" sh "$here/wine-run.sh" "$state" "$state/screenshots" "$@"
