#!/usr/bin/env bash
# Sets up the machine, builds, and starts OrvoSetup.exe under Wine: in a window
# when DISPLAY is set, otherwise on a private Xvfb display, from which a
# screenshot is written to build/OrvoSetup.png after a few seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/locale.sh"
build=${BUILD:-$here/build}
"$here/tools/bootstrap.sh" "$build"
BUILD=$build "$here/tools/build.sh"
export ORVO_BINARY_DIR=$build WINEPREFIX=$build/wineprefix
"$here/tools/wine-prefix.sh"
exe=$build/setup/OrvoSetup.exe
if [ -n "${DISPLAY:-}" ]; then
  exec "$here/tools/wine-run.sh" "$exe" "$@"
fi
shot=$build/OrvoSetup.png
# The program must still be running when its window is captured: one that has
# ended (a start-up failure, a second instance) is reported with its status.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  "$1" "$2" & app=$!
  for _ in $(seq 1 "${ORVO_SHOT_SECONDS:-20}"); do sleep 1; kill -0 $app 2>/dev/null || break; done
  if ! kill -0 $app 2>/dev/null; then
    wait $app; rc=$?
    echo "run: $(basename "$2") ended with exit status $rc before its window was captured" >&2
    exit $((rc ? rc : 1))
  fi
  /usr/bin/import -window root "$3"
  wineserver -k; wait $app 2>/dev/null
  exit 0' _ "$here/tools/wine-run.sh" "$exe" "$shot"
echo "Screenshot of the running OrvoSetup.exe: $shot"
