#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) and the build tree's dependencies.
# Safe to run again: every step checks first and does nothing when in place.
#   tools/bootstrap.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick
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

# Some kernels here cannot run 32-bit x86 code at all (no 32-bit code segment).
# Wine's 32-bit loader then runs under qemu's user-mode emulation, registered
# for 32-bit ELF files; the 64-bit wineserver stays native.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'ok installed' ||
    sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
  [ -e /proc/sys/fs/binfmt_misc/register ] || sudo_ mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      sudo_ tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "bootstrap: 32-bit programs cannot run on this machine" >&2; exit 1; }
fi

"$here/tools/fetch-sources.sh" "$build/deps/src"
