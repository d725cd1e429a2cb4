#!/usr/bin/env bash
# Configures and builds the project into BUILD (default build/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/locale.sh"
build=${BUILD:-$here/build}
if [ ! -f "$build/build.ninja" ]; then
  mkdir -p "$build"
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw32.cmake" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
fi
cmake --build "$build" -- -k 0
