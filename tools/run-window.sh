#!/usr/bin/env bash
# Starts the window program Tallowick.exe of the build under Wine with its Chinese texts
# legible (the build's Wine prefix, with the dialogs' font mapped), on $DISPLAY or else on an
# Xvfb of its own. Another program of the build may be named instead: the window tests run
# through this script too.
# Usage: tools/run-window.sh [PROGRAM.exe [ARGUMENTS...]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TALLOWICK_BUILD_DIR:-$root/build/windows}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
"$root/tools/wine-prefix.sh" "$WINEPREFIX"
[ $# -gt 0 ] || set -- "$build/Tallowick.exe"
exec "$root/tools/wine-gui.sh" "$@"
