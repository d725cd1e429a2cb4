#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test under Wine with one Xvfb
# display for the whole run. Extra arguments go to ctest (e.g. -R core).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/locale.sh"
build=${BUILD:-$here/build}
"$here/tools/bootstrap.sh" "$build"
BUILD=$build "$here/tools/build.sh"
cd "$build"
# Make the Wine prefix before the clock of any test starts.
ORVO_BINARY_DIR=$build WINEPREFIX=$build/wineprefix "$here/tools/wine-prefix.sh"
run=(ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@")
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "${run[@]}"
else
  "${run[@]}"
fi
