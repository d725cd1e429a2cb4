# Sourced by the project's scripts: Wine maps Windows file names to Unix ones
# through the process locale, and names with Chinese characters exist only in a
# UTF-8 one. A caller without one (env -i, cron, containers) gets C.UTF-8,
# which every Debian 12 machine has.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
fi
