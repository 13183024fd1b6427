#!/usr/bin/env bash
# Creates a Wine prefix quietly (no Mono or Gecko prompts) if it does not exist yet.
# Usage: tools/wine-prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  echo "setup: creating the Wine prefix $prefix"
  WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
fi
