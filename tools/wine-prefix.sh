#!/usr/bin/env bash
# Creates a Wine prefix quietly (no Mono or Gecko prompts) if it does not exist yet, and maps the
# dialogs' font to a Chinese font that Debian installs.
# Usage: tools/wine-prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  echo "setup: creating the Wine prefix $prefix"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  wineserver -w
fi

# The dialog templates ask for "宋体" (SimSun), which Wine lacks: without a substitute their
# Chinese texts show as empty boxes. AR PL UMing is a Song face of the same metrics, so dialog
# units come out at 1.5 pixels each way as with the real font, and the About box's texts stay
# on its skin (the taller WenQuanYi faces make them 2 pixels high and push the last line off).
substitute="AR PL UMing CN"
if ! grep -q "^\"SimSun\"=\"$substitute\"" "$prefix/system.reg"; then
  key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  for name in 宋体 SimSun; do
    LC_ALL=C.UTF-8 wine reg add "$key" /v "$name" /d "$substitute" /f >/dev/null 2>&1
  done
  wineserver -w
fi
