#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, on $DISPLAY or else on an Xvfb of its own
# (tools/with-xvfb.sh), in the build's Wine prefix.
#   tools/wine-gui.sh build/windows/tallowick-skin-demo.exe
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix} WINEDEBUG=${WINEDEBUG:--all} \
  WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=} LC_ALL=${LC_ALL:-C.UTF-8}
if [ -z "${DISPLAY:-}" ]; then
  exec "$root/tools/with-xvfb.sh" wine "$@"
fi
exec wine "$@"
