#!/bin/sh
# Runs a Windows test program in the session that wine-session.sh started,
# from the folder SCREENSHOTS, then turns the screenshots the program saved
# there as BMP into PNG. A 64-bit program runs under wine64, a 32-bit one
# under the 32-bit loader of the route the session chose, in a Japanese
# locale unless VORLINDE_WINE_LC_ALL names another (the ANSI code page follows
# it: 932 for Japanese, 1252 for en_US), and with names beyond ASCII when
# VORLINDE_WINE_UTF8_NAMES is set.
#
#   wine-run.sh STATE SCREENSHOTS PROGRAM [ARGUMENT...]
set -eu
state=$1 screenshots=$2
shift 2
if [ ! -f "$state/env" ]; then
  echo "wine-run: no wine session in $state (the test wine.start makes one)" >&2
  exit 1
fi
. "$state/env"
# The PE header's machine field: i386 is 014c.
pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
wine=$WINE64
if [ "$machine" = 014c ]; then
  wine=$WINE32
  if [ -z "$wine" ]; then
    echo "wine-run: $1 is a 32-bit program, and this session has no 32-bit wine" >&2
    # A skip on a developer's machine, a failure in CI, where every suite runs.
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
fi
locale=${VORLINDE_WINE_LC_ALL:-ja_JP.UTF-8}
# VORLINDE_WINE_UTF8_NAMES: the session's own compiled locales, so that file
# names and arguments beyond ASCII reach Wine whole.
if [ -n "${VORLINDE_WINE_UTF8_NAMES:-}" ]; then
  if [ ! -d "$state/locales/$locale" ]; then
    echo "wine-run: the session has no locale $locale (localedef and the locales' sources)" >&2
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
  LOCPATH=$state/locales
  export LOCPATH
fi
mkdir -p "$screenshots"
cd "$screenshots"
status=0
LC_ALL=$locale "$wine" "$@" </dev/null || status=$?
for bmp in *.bmp; do
  [ -f "$bmp" ] || continue
  if convert "$bmp" "${bmp%.bmp}.png"; then rm -f "$bmp"; fi
done
exit $status
