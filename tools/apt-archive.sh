#!/usr/bin/env bash
# Prints "URI SIGNED-BY" of the machine's Debian archive for the release SUITE
# (default: this machine's codename), read from its own apt configuration in
# either form: deb822 (*.sources) or one-line (sources.list, *.list). SIGNED-BY
# is "-" when the entry names no keyring. Prints nothing when no entry matches.
# ORVO_APT_ETC replaces /etc/apt (for trying the script on other configurations).
#   tools/apt-archive.sh [suite]
set -euo pipefail
suite=${1:-$(. /etc/os-release && echo "${VERSION_CODENAME:-}")}
etc=${ORVO_APT_ETC:-/etc/apt}
shopt -s nullglob

for f in "$etc"/sources.list.d/*.sources; do
  awk -v suite="$suite" '
    function flush() {
      if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && (" " comps " ") ~ / main / && enabled != "no" && uri != "") {
        print uri, (signed == "" ? "-" : signed); found = 1; exit
      }
      types = suites = comps = uri = signed = enabled = ""
    }
    /^[ \t]*$/ { flush(); next }
    /^#/ { next }
    { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ +/, "") }
    key == "types" { types = $0 } key == "suites" { suites = $0 } key == "components" { comps = $0 }
    key == "uris" { split($0, u, " "); uri = u[1] } key == "signed-by" { signed = $0 } key == "enabled" { enabled = tolower($0) }
    END { if (!found) flush() }' "$f" | head -n 1 | grep . && exit 0
done

for f in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  awk -v suite="$suite" '
    $1 != "deb" { next }
    {
      signed = "-"; i = 2
      if ($2 ~ /^\[/) {
        while (i <= NF) { if ($i ~ /^\[?signed-by=/) { signed = $i; sub(/^\[?signed-by=/, "", signed); sub(/\]$/, "", signed) }
                          if ($i ~ /\]$/) { i++; break } i++ }
      }
      if ($(i + 1) == suite) { for (c = i + 2; c <= NF; c++) if ($c == "main") { print $i, signed; exit } }
    }' "$f" | head -n 1 | grep . && exit 0
done
exit 0
