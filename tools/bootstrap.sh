#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) and the build tree's dependencies.
# Safe to run again: every step checks first and does nothing when in place.
#   tools/bootstrap.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 xvfb xauth x11-apps imagemagick
  7zip cmake ninja-build make python3 fonts-wqy-microhei
  libz-mingw-w64-dev libstb-dev dpkg-dev curl apngasm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ] || ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list; then
  dpkg --print-foreign-architectures | grep -qx i386 || sudo_ dpkg --add-architecture i386
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list; then
    sudo_ tee /etc/apt/sources.list.d/orvo-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  fi
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

"$here/tools/build-deps.sh" "$build/deps"
