#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) and the build tree's dependencies.
# Safe to run again: every step checks first and does nothing when in place.
#   tools/bootstrap.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/locale.sh"
build=${1:-$here/build}

# xz-utils unpacks the source tarballs that come as .tar.xz; locales holds
# the definitions the tests compile a Chinese locale from.
packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 wine64 xvfb xauth imagemagick
  7zip cmake ninja-build python3 fonts-wqy-microhei xz-utils locales
  libz-mingw-w64-dev libstb-dev curl apngasm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# deb-src entries, in either form of apt's configuration.
has_deb_src() {
  grep -qsE '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources ||
    grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list
}

# The Debian archive this machine already uses ("URI KEYRING"), for the source
# packages and for a package of a newer release.
archive() {
  local a; a=$("$here/tools/apt-archive.sh")
  [ -n "$a" ] || { echo "bootstrap: apt's configuration names no Debian archive for this release" >&2; exit 1; }
  echo "$a"
}

if [ ${#missing[@]} -gt 0 ] || ! has_deb_src; then
  dpkg --print-foreign-architectures | grep -qx i386 || sudo_ dpkg --add-architecture i386
  if ! has_deb_src; then
    a=$(archive); read -r uri keyring <<<"$a"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    { echo "Types: deb-src"; echo "URIs: $uri"; echo "Suites: $codename $codename-updates"; echo "Components: main"
      [ "$keyring" = - ] || echo "Signed-By: $keyring"; } | sudo_ tee /etc/apt/sources.list.d/orvo-src.sources >/dev/null
  fi
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

# Some kernels here cannot run 32-bit x86 code at all (no 32-bit code segment).
# Wine's 32-bit loader then runs under qemu's user-mode emulator, registered for
# 32-bit ELF files; the 64-bit wineserver stays native. qemu 7.2 (Debian 12)
# takes about a minute to start each Wine process (it cannot reserve Wine's
# address space), so the emulator comes from the next Debian release, whose
# qemu-user package is static and has no dependencies.
qemu=/usr/bin/qemu-i386
qemu_ok() { [ -x $qemu ] && [ "$($qemu --version | sed -n 's/.*version \([0-9]*\).*/\1/p;q')" -ge 9 ]; }
binfmt=/proc/sys/fs/binfmt_misc
if [ -e $binfmt/qemu-i386 ] || ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if ! qemu_ok; then
    apt_dir=/var/cache/orvo-apt
    mkdir -p $apt_dir/lists/partial $apt_dir/archives/partial
    a=$(archive); read -r uri keyring <<<"$a"
    opts=; [ "$keyring" = - ] || opts="[signed-by=$keyring] "
    echo "deb $opts$uri trixie main" >$apt_dir/sources.list
    # Only this machine's own architecture and no translations: the lists are
    # read for this one package.
    arch=$(dpkg --print-architecture)
    apt_opts=(-o Dir::Etc::SourceList=$apt_dir/sources.list -o Dir::Etc::SourceParts=/dev/null
              -o Dir::State::Lists=$apt_dir/lists -o Dir::Cache::Archives=$apt_dir/archives
              -o APT::Architecture="$arch" -o APT::Architectures="$arch" -o Acquire::Languages=none)
    apt-get "${apt_opts[@]}" update -q >$apt_dir/update.log 2>&1 || { cat $apt_dir/update.log >&2; exit 1; }
    (cd $apt_dir/archives && apt-get "${apt_opts[@]}" download qemu-user >$apt_dir/download.log 2>&1) ||
      { cat $apt_dir/download.log >&2; exit 1; }
    sudo_ dpkg -i $apt_dir/archives/qemu-user_*.deb >$apt_dir/install.log 2>&1 || { cat $apt_dir/install.log >&2; exit 1; }
    qemu_ok || { echo "bootstrap: $qemu is missing or too old" >&2; exit 1; }
  fi
  [ -e $binfmt/register ] || sudo_ mount -t binfmt_misc binfmt_misc $binfmt
  if ! grep -qx "interpreter $qemu" $binfmt/qemu-i386 2>/dev/null; then
    [ -e $binfmt/qemu-i386 ] && echo -1 | sudo_ tee $binfmt/qemu-i386 >/dev/null
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'$qemu':F' |
      sudo_ tee $binfmt/register >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "bootstrap: 32-bit programs cannot run on this machine" >&2; exit 1; }
fi

"$here/tools/fetch-sources.sh" "$build/deps/src"
