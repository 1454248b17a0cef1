#!/bin/sh
# The session the wine tests run in: an Xvfb display of their own and a
# fresh WoW64 wine prefix with its wineserver kept running, all under STATE.
# It runs 64-bit programs with wine64 and 32-bit ones with the 32-bit loader
# beside it (Debian's wine32), natively where this machine runs 32-bit Linux
# programs, else with every 32-bit wine process under qemu-i386-static.
#
#   wine-session.sh start STATE WINE64 WINESERVER XVFB [QEMU_I386 QEMU_FIXES]
#   wine-session.sh stop STATE
#
# QEMU_FIXES is the library qemu_fixes.c built for i386. The environment
# variable VORLINDE_WINE32_ROUTE=native|qemu forces a route for 32-bit wine.
#
# start writes STATE/env, which wine-run.sh reads. Should the ctest run that
# started the session die before it stops the session, a watcher stops it.
set -eu

# A folder laid out like /usr whose wine64 and wine are what Wine starts for
# every process of the session: Wine starts a child with the loader of the
# child's bitness that sits beside its own binary, found from the real path
# of /proc/self/exe (so links will not do: wine64 and the 32-bit loader are
# copies). Its "wine" runs the 32-bit loader under qemu, with the library
# that makes up for qemu's differences, and WINELOADERNOEXEC=1 so that the
# loader does not execute itself again natively; wine64 stays native.
qemu_loaders() {
  dir=$1 wine64=$2 qemu=$3 fixes=$4
  bin=$(dirname "$wine64")
  lib=$(dirname "$bin")
  mkdir -p "$dir/lib/wine"
  # The loaders find ntdll.so in ../<triplet>/wine and their data in
  # ../../share/wine.
  for triplet in "$lib"/*-linux-gnu; do ln -s "$triplet" "$dir/lib/"; done
  ln -s "$(dirname "$lib")/share" "$dir/share"
  ln -s "$bin/wineserver" "$dir/lib/wine/wineserver"
  cp "$wine64" "$dir/lib/wine/wine64"
  cp "$bin/wine" "$dir/lib/wine/wine-i386"
  # Wine names the 64-bit sibling after this argv[0] with "64" appended.
  cat >"$dir/lib/wine/wine" <<SCRIPT
#!/bin/sh
exec '$qemu' -0 '$dir/lib/wine/wine' -E WINELOADERNOEXEC=1 -E LD_PRELOAD='$fixes' '$dir/lib/wine/wine-i386' "\$@"
SCRIPT
  chmod +x "$dir/lib/wine/wine"
}

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
  state=$1 wine64=$2 wineserver=$3 xvfb=$4 qemu=${5:-} fixes=${6:-}
  stop "$state"
  rm -rf "$state"
  mkdir -p "$state"
  trap 'stop "$state"' EXIT

  # The 32-bit route, probed with the 32-bit loader itself. A machine that
  # cannot run it says "Exec format error"; under no_i386 it is killed.
  wine32=$(dirname "$wine64")/wine
  route=${VORLINDE_WINE32_ROUTE:-}
  if [ -z "$route" ]; then
    if [ ! -x "$wine32" ]; then route=none
    elif ("$wine32" --version) >/dev/null 2>&1; then route=native
    elif [ -n "$qemu" ]; then route=qemu
    else route=none
    fi
  fi
  case $route in
    native) ;;
    qemu)
      if [ ! -x "$wine32" ] || [ ! -x "$qemu" ] || [ ! -f "$fixes" ]; then
        echo "wine-session: the qemu route needs $wine32, QEMU_I386 and QEMU_FIXES" >&2
        exit 1
      fi
      qemu_loaders "$state/loaders" "$wine64" "$qemu" "$fixes"
      wine64=$state/loaders/lib/wine/wine64
      wine32=$state/loaders/lib/wine/wine ;;
    none) wine32= ;;
    *) echo "wine-session: VORLINDE_WINE32_ROUTE is native or qemu, not $route" >&2; exit 2 ;;
  esac

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
WINE32='$wine32'
WINE32_ROUTE=$route
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
  # The first wine process makes the prefix: Wine runs wineboot --init for it
  # (under a Japanese locale, so that the dialogs' code page is 932), which
  # makes the 32-bit half (syswow64) through the 32-bit loader beside wine64:
  # the one of the chosen route. "wine64 wineboot --init" would run wineboot
  # twice and leave two service managers; a service one of them starts then
  # reports to the other, and starting it waits 10 s and fails (RpcSs, for
  # every explorer that a dialog starts).
  # Unmanaged windows close without waiting for a window manager.
  why=
  LC_ALL=ja_JP.UTF-8 "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >"$state/wineboot.log" 2>&1 || why="wine64 failed"
  if [ -z "$why" ] && [ -n "$wine32" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    why="no 32-bit half (syswow64) with the $route route"
  fi
  if [ -n "$why" ]; then
    echo "wine-session: the prefix was not made: $why" >&2
    cat "$state/wineboot.log" >&2
    exit 1
  fi
  # Dialogs ask for the Japanese proportional Gothic by its Windows name; show
  # them in the one Debian has (fonts-ipafont-gothic). A UTF-16 registry file,
  # since a Japanese name on wine's command line needs a locale the machine
  # may not have.
  printf '%s\r\n\r\n%s\r\n%s\r\n' 'Windows Registry Editor Version 5.00' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"ＭＳ Ｐゴシック"="IPAPGothic"' |
    iconv -f UTF-8 -t UTF-16 >"$state/fonts.reg"
  "$wine64" regedit /S "$state/fonts.reg" </dev/null >>"$state/wineboot.log" 2>&1
  # Locales for the tests of names beyond ASCII, from the system's locale
  # sources where it has them: Wine encodes Unix file names and arguments by
  # the locale, and where that locale is not installed it takes ASCII and a
  # name's other bytes lose their high bit. wine-run.sh uses them when asked.
  mkdir -p "$state/locales"
  for name in ja_JP en_US; do
    localedef -i $name -f UTF-8 "$state/locales/$name.UTF-8" >/dev/null 2>&1 || true
  done
  trap - EXIT
  echo "wine session: prefix $WINEPREFIX, display $DISPLAY, 32-bit route: $route${wine32:+ ($wine32)}"
}

case "${1:-}" in
  start) shift; start "$@" ;;
  stop) shift; stop "$@" ;;
  *) echo "usage: wine-session.sh start STATE WINE64 WINESERVER XVFB [QEMU_I386 QEMU_FIXES] | stop STATE" >&2
     exit 2 ;;
esac
