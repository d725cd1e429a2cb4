#!/usr/bin/env bash
# Makes the 32-bit Wine prefix named by WINEPREFIX once: wineboot, the
# framework's default face mapped to the installed CJK font, then a wait until
# the prefix's own processes have exited. Concurrent callers wait for the first.
set -euo pipefail
: "${WINEPREFIX:?}"
ready=$WINEPREFIX/.orvo-ready
[ -f "$ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 8>"$WINEPREFIX.lock"
flock 8
[ -f "$ready" ] && exit 0

rm -rf "$WINEPREFIX"
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
log=$WINEPREFIX.log
if ! env -u DISPLAY wineboot -i >"$log" 2>&1; then
  echo "wine-prefix: wineboot failed, see $log" >&2; exit 1
fi

face=$(fc-list :lang=zh family 2>/dev/null | grep -m1 -o 'WenQuanYi Micro Hei' || true)
face=${face:-WenQuanYi Micro Hei}
reg=$WINEPREFIX/orvo-fonts.reg
{ printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"宋体"="%s"\r\n"SimSun"="%s"\r\n' "$face" "$face" | iconv -f UTF-8 -t UTF-16LE
} >"$reg"
env -u DISPLAY wine regedit /S "$(winepath -w "$reg" 2>/dev/null || echo "$reg")" >>"$log" 2>&1
wineserver -w
touch "$ready"
