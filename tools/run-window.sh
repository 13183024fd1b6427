#!/usr/bin/env bash
# Starts a Windows program of the build under Wine (by default the window program
# Tallowick.exe), in the build's own Wine prefix with the dialogs' Chinese font mapped. Without a
# reachable display it starts an Xvfb server for the run (display $TALLOWICK_XVFB_DISPLAY, :78
# by default) and stops it afterwards. The window tests run through this script too.
# Usage: tools/run-window.sh [PROGRAM.exe [ARGUMENTS...]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TALLOWICK_BUILD_DIR:-$root/build/windows}
program=${1:-$build/Tallowick.exe}
[ $# -gt 0 ] && shift

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
"$root/tools/wine-prefix.sh" "$WINEPREFIX"

display_up() { DISPLAY=$1 xdotool getdisplaygeometry >/dev/null 2>&1; }

if [ -z "${DISPLAY:-}" ] || ! display_up "$DISPLAY"; then
  export DISPLAY=${TALLOWICK_XVFB_DISPLAY:-:78}
  if ! display_up "$DISPLAY"; then
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
      display_up "$DISPLAY" && break
      sleep 0.1
    done
  fi
fi

wine "$program" "$@"
