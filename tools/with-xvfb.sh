#!/usr/bin/env bash
# Runs a command with an X display for Wine's windows, and stops that display afterwards.
#   TALLOWICK_DISPLAY=:76 tools/with-xvfb.sh COMMAND...   that display (reused if already up)
#   tools/with-xvfb.sh COMMAND...                          the first free display Xvfb finds
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

display_up() { DISPLAY=$1 xdotool getdisplaygeometry >/dev/null 2>&1; }
# A laptop's screen: room for the options dialog at 192 DPI (1,098 pixels high).
screen=(-screen 0 1920x1200x24 -nolisten tcp)
xvfb_pid=
if [ -n "${TALLOWICK_DISPLAY:-}" ]; then
  display=$TALLOWICK_DISPLAY
  if ! display_up "$display"; then
    Xvfb "$display" "${screen[@]}" >/dev/null 2>&1 &
    xvfb_pid=$!
  fi
else
  number_file=$(mktemp)
  Xvfb -displayfd 3 "${screen[@]}" 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  display=:$(tr -dc 0-9 <"$number_file")
  rm -f "$number_file"
fi
stop() { [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true; }
trap stop EXIT
for _ in $(seq 100); do
  display_up "$display" && break
  sleep 0.1
done
display_up "$display" || { echo "with-xvfb: no X display on $display" >&2; exit 1; }
echo "with-xvfb: X display $display" >&2
DISPLAY=$display "$@"
