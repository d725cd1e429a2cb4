#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private 32-bit prefix.
#   tools/wine-run.sh program.exe [args...]
# ORVO_WINEPREFIX overrides the prefix (default: <build>/wineprefix, where
# <build> is ORVO_BINARY_DIR or the program's nearest folder with a CMakeCache.txt);
# ORVO_WINEARCH=win64 makes and uses a 64-bit prefix there instead, where the
# program runs as a 32-bit one on 64-bit Windows.
# With no DISPLAY it starts a private Xvfb for this program and stops it after.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/locale.sh"
[ $# -ge 1 ] || { echo "usage: $0 program.exe [args...]" >&2; exit 2; }

build_dir() {
  if [ -n "${ORVO_BINARY_DIR:-}" ]; then echo "$ORVO_BINARY_DIR"; return; fi
  local d; d=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || d=$PWD
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  [ -f "$d/CMakeCache.txt" ] && echo "$d" || echo "$PWD"
}

export WINEPREFIX=${ORVO_WINEPREFIX:-$(build_dir "$1")/wineprefix}
export WINEARCH=${ORVO_WINEARCH:-win32} WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko add-on installs, no host menu entries, and no debugger: a
# crashing program ends with its exception instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d;winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

"$here/wine-prefix.sh" || exit 1

xvfb_pid=
# The prefix's Wine processes (its desktop among them) stay bound to the display
# they started on: the display may only go once they have all ended, or the next
# program in this prefix would attach to a desktop whose display is gone.
stop_xvfb() {
  [ -n "$xvfb_pid" ] || return 0
  wineserver -w 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 num <"$fifo"; rm -f "$fifo"
  [ -n "${num:-}" ] || { echo "wine-run: Xvfb did not start" >&2; stop_xvfb; exit 1; }
  export DISPLAY=:$num
  trap stop_xvfb EXIT
fi

wine "$@"
