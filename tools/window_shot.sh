#!/usr/bin/env bash
# Takes the README's picture of the window (docs/window.png): the real Tallowick.exe of the
# Windows build under Wine, on an Xvfb of its own, with tools/run.sh's demo album as its photo
# folder, after a job started by a click on 整理. A Wine prefix of its own maps drive D: to the
# album's folder, so the paths read as a user's would.
#   tools/window_shot.sh [OUTPUT.png]      (after the linux and windows builds)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/window.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$root/build/linux/tallowick-make-album" --demo "$work/相册" >/dev/null
# Without the album's one name clash: a failure would open the failure list over the window.
rm "$work/相册/Camera/DCIM/101CANON/IMG_0001.JPG"
mkdir "$work/整理结果" "$work/拾光整理"
cp "$root/build/windows/Tallowick.exe" "$work/拾光整理/"
printf '[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=D:\\相册\\\r\nPathTar=D:\\整理结果\\\r\n' \
  >"$work/拾光整理/Config.ini"

export WINEPREFIX=$root/build/windows/shot-prefix WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
"$root/tools/wine-prefix.sh" "$WINEPREFIX"
ln -sfn "$work" "$WINEPREFIX/dosdevices/d:"

# The organize button's centre in the window: layout of src/app/main_layout.cpp at 96 DPI
# (a 155 x 52 frame at half its width plus 10 from the left, at 66 % of the skin's 416 rows).
"$root/tools/with-xvfb.sh" bash -c '
  wine "D:\\拾光整理\\Tallowick.exe" &
  program=$!
  window=$(xdotool search --sync --onlyvisible --classname tallowick | head -1)
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 164)) $((Y + 300)) click 1
  sleep 4
  xdotool mousemove $((X + 400)) $((Y + 60))  # off the buttons: none shows the pointer-over frame
  sleep 1
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -depth 8 "$1"
  wineserver -k
  wait "$program" || true
' window_shot "$out"
echo "window_shot: $out"
