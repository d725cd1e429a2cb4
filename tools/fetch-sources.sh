#!/usr/bin/env bash
# Fetches the Debian source packages the build compiles for the target and
# unpacks their upstream trees into DIR (default build/deps/src). Does nothing
# for a package that is already unpacked.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "${1:-$here/build/deps/src}"
src=$(cd "${1:-$here/build/deps/src}" && pwd)
dl=$(dirname "$src")/dl
mkdir -p "$src" "$dl"

# package -> folder its upstream tarball unpacks to
declare -A tree=([pugixml]='pugixml-*' [libpng1.6]='libpng-*' [7zip]='ip7z-7zip-*' [googletest]='googletest-*')

for pkg in "${!tree[@]}"; do
  if compgen -G "$src/${tree[$pkg]}" >/dev/null; then continue; fi
  (cd "$dl" && apt-get source -q --download-only --tar-only "$pkg" >"$dl/$pkg.log" 2>&1) || { cat "$dl/$pkg.log" >&2; exit 1; }
  orig=$(ls "$dl"/"${pkg}"_*.orig.tar.* 2>/dev/null | head -n 1)
  [ -n "$orig" ] || { echo "fetch-sources: no source tarball for $pkg" >&2; exit 1; }
  tar -xf "$orig" -C "$src"
  compgen -G "$src/${tree[$pkg]}" >/dev/null || { echo "fetch-sources: $orig did not unpack to ${tree[$pkg]}" >&2; exit 1; }
done
