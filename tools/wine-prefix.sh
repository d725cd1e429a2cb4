#!/usr/bin/env bash
# With WINEARCH=win64, makes the 64-bit prefix named by WINEPREFIX in place
# (a bare wineboot, about half a minute; no master is kept for it).
# Otherwise makes the 32-bit Wine prefix named by WINEPREFIX as a copy of a master prefix
# kept in ORVO_PREFIX_CACHE (default /var/tmp/orvo-wineprefix), which is made
# once: wineboot, the faces the layouts name ("宋体", "Microsoft YaHei") mapped
# to the installed CJK font, then a wait until the prefix's own processes have
# exited (wineboot is slow where 32-bit code runs emulated). Concurrent callers
# wait for the first. Wine links the user's Desktop, Documents and the like to
# the Unix home folder: every prefix makes them folders of its own, so what a
# program writes there stays in the prefix.
set -euo pipefail
. "$(dirname "$0")/locale.sh"
: "${WINEPREFIX:?}"
# The master is made with WINEPREFIX pointing at it: keep the target apart.
target=$WINEPREFIX
# What a ready prefix says it holds; a prefix made to another recipe is made again.
faces=("宋体" "SimSun" "微软雅黑" "Microsoft YaHei")
recipe="font substitutes: ${faces[*]}"
[ "${WINEARCH:-}" = win64 ] && recipe="win64"
ready() { [ "$(cat "$1/.orvo-ready" 2>/dev/null)" = "$recipe" ]; }
ready "$WINEPREFIX" && exit 0

# Replaces the prefix's links to folders outside it by empty folders.
own_user_folders() {
  local link
  for link in "$1"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    case "$(readlink -f "$link")" in "$1"/*) continue ;; esac
    rm "$link" && mkdir "$link"
  done
}

mkdir -p "$(dirname "$WINEPREFIX")"
exec 8>"$WINEPREFIX.lock"
flock 8
ready "$WINEPREFIX" && exit 0
# Making a prefix: no Mono or Gecko add-on installs, no host menu entries.
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

if [ "${WINEARCH:-}" = win64 ]; then
  rm -rf "$WINEPREFIX"
  env -u DISPLAY wineboot -i >"$WINEPREFIX.log" 2>&1 || { echo "wine-prefix: wineboot failed, see $WINEPREFIX.log" >&2; exit 1; }
  wineserver -w
  own_user_folders "$WINEPREFIX"
  echo "$recipe" >"$WINEPREFIX/.orvo-ready"
  exit 0
fi

cache=${ORVO_PREFIX_CACHE:-/var/tmp/orvo-wineprefix}
mkdir -p "$(dirname "$cache")"
exec 7>"$cache.lock"
flock 7
if ! ready "$cache"; then
  rm -rf "$cache"
  export WINEPREFIX=$cache WINEARCH=win32
  log=$cache.log
  echo "wine-prefix: making the master Wine prefix $cache (minutes where 32-bit code is emulated)" >&2
  env -u DISPLAY wineboot -i >"$log" 2>&1 || { echo "wine-prefix: wineboot failed, see $log" >&2; exit 1; }
  face=$(fc-list :lang=zh family 2>/dev/null | grep -m1 -o 'WenQuanYi Micro Hei' || true)
  face=${face:-WenQuanYi Micro Hei}
  reg=$cache/orvo-fonts.reg
  { printf '\xff\xfe'
    { printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
      for f in "${faces[@]}"; do printf '"%s"="%s"\r\n' "$f" "$face"; done
    } | iconv -f UTF-8 -t UTF-16LE
  } >"$reg"
  env -u DISPLAY wine regedit /S "Z:${reg//\//\\}" >>"$log" 2>&1
  wineserver -w
  echo "$recipe" >"$cache/.orvo-ready"
fi
rm -rf "$target"
cp -a "$cache" "$target"
own_user_folders "$target"
