#!/bin/sh
# The session the wine64 tests run in: an Xvfb display of their own and a
# fresh wine prefix with its wineserver kept running, all under STATE.
#
#   wine-session.sh start STATE WINE64 WINESERVER XVFB
#   wine-session.sh stop STATE
#
# start writes STATE/env, which wine-run.sh reads. Should the ctest run that
# started the session die before it stops the session, a watcher stops it.
set -eu

stop() {
  state=$1
  if [ -f "$state/env" ]; then
    . "$state/env"
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -f "$state/env"
  fi
  # The prefix is some 700 MB and made afresh by every run; the logs stay.
  rm -rf "$state/prefix"
  for name in xvfb watcher; do
    [ -f "$state/$name.pid" ] || continue
    pid=$(cat "$state/$name.pid")
    rm -f "$state/$name.pid"
    # Only a process of this session (its state folder in its command line or
    # environment), and never the caller or the watcher running it.
    [ "$pid" != "$$" ] && [ "$pid" != "$PPID" ] || continue
    if cat "/proc/$pid/cmdline" "/proc/$pid/environ" 2>/dev/null | grep -qa "$state"; then
      kill "$pid" 2>/dev/null || true
    fi
  done
}

start() {
  state=$1 wine64=$2 wineserver=$3 xvfb=$4
  stop "$state"
  rm -rf "$state"
  mkdir -p "$state"
  trap 'stop "$state"' EXIT

  # Xvfb takes the first free display and writes its number once it accepts
  # connections.
  VORLINDE_WINE_SESSION=$state "$xvfb" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  waited=0
  while [ ! -s "$state/display" ]; do
    if ! kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || [ $waited -ge 100 ]; then
      echo "wine-session: Xvfb did not start:" >&2
      cat "$state/xvfb.log" >&2
      exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done

  cat >"$state/env" <<ENV
WINEPREFIX='$state/prefix'
WINEARCH=win64
WINEDEBUG=-all
WINEDLLOVERRIDES='mscoree,mshtml='
DISPLAY=':$(head -n 1 "$state/display")'
VORLINDE_WINE_SESSION='$state'
WINE64='$wine64'
WINESERVER='$wineserver'
export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES DISPLAY VORLINDE_WINE_SESSION
ENV
  . "$state/env"

  # ctest, which runs this script, is our parent.
  ctest=$PPID
  (
    while kill -0 "$ctest" 2>/dev/null && [ -f "$state/env" ]; do sleep 2; done
    [ -f "$state/env" ] && sh "$0" stop "$state"
  ) </dev/null >/dev/null 2>&1 &
  echo $! >"$state/watcher.pid"

  # Every wine process of the session writes to files: one holding ctest's
  # output pipe would keep the test running.
  mkdir -p "$WINEPREFIX"
  "$wineserver" -p </dev/null >"$state/wineserver.log" 2>&1
  # The code page of the dialogs' texts is 932 under a Japanese locale.
  LC_ALL=ja_JP.UTF-8 "$wine64" wineboot --init </dev/null >"$state/wineboot.log" 2>&1
  # Unmanaged windows close without waiting for a window manager.
  "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >>"$state/wineboot.log" 2>&1
  trap - EXIT
  echo "wine64 session: prefix $WINEPREFIX, display $DISPLAY"
}

case "${1:-}" in
  start) shift; start "$@" ;;
  stop) shift; stop "$@" ;;
  *) echo "usage: wine-session.sh start STATE WINE64 WINESERVER XVFB | stop STATE" >&2; exit 2 ;;
esac
