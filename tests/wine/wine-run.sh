#!/bin/sh
# Runs a 64-bit Windows test program under wine64 in the session that
# wine-session.sh started, from the folder SCREENSHOTS, then turns the
# screenshots the program saved there as BMP into PNG.
#
#   wine-run.sh STATE SCREENSHOTS PROGRAM [ARGUMENT...]
set -eu
state=$1 screenshots=$2
shift 2
if [ ! -f "$state/env" ]; then
  echo "wine-run: no wine session in $state (the test wine64.start makes one)" >&2
  exit 1
fi
. "$state/env"
mkdir -p "$screenshots"
cd "$screenshots"
status=0
LC_ALL=ja_JP.UTF-8 "$WINE64" "$@" </dev/null || status=$?
for bmp in *.bmp; do
  [ -f "$bmp" ] || continue
  if convert "$bmp" "${bmp%.bmp}.png"; then rm -f "$bmp"; fi
done
exit $status
