#!/usr/bin/env bash
# The skin test dialog as a user meets it: a real pointer (xdotool on the X display) over its
# image buttons and link labels, the result read back from another Win32 process (the driver)
# and from the screen, and a screenshot of each state.
# Usage: skin_dialog_test.sh WINE DEMO.exe DRIVER.exe SCREENSHOT_DIR
set -uo pipefail
wine=$1 demo=$2 driver=$3 shots=$4
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display (tools/test.sh starts Xvfb)"; exit 77; }
mkdir -p "$shots"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
drive() { "$wine" "$driver" "$@" </dev/null; }
shot() { import -display "$DISPLAY" -window root "$shots/skin-$1.png"; }
settle() { sleep 0.6; }

"$wine" "$demo" </dev/null >/dev/null 2>&1 &
demo_pid=$!
cleanup() { [ -n "${dialog:-}" ] && drive close "$dialog" >/dev/null; wait "$demo_pid" 2>/dev/null; }
trap cleanup EXIT

found=$(drive find --title "Skin test" --timeout 20000) || { echo "FAIL: the dialog did not open"; exit 1; }
dialog=${found%% *}
rect() { drive rect "$dialog" "$1" | tr -d '\r'; }
pixel() { drive pixel "$1" "$2"; }
text() { drive text "$dialog" "$1" | tr -d '\r'; }
count() { drive count "$@" | tr -d '\r'; }

# Colour checks. blend FRONT BACK: the frame's half-transparent colour (alpha 128) over BACK.
near() {  # near "r g b" "r g b": equal within 2 per channel
  local -a a=($1) b=($2)
  for i in 0 1 2; do
    local d=$((a[i] - b[i]))
    [ ${d#-} -le 2 ] || return 1
  done
}
blend() {
  local -a f=($1) b=($2)
  echo "$(((f[0] * 128 + b[0] * 127) / 255)) $(((f[1] * 128 + b[1] * 127) / 255)) $(((f[2] * 128 + b[2] * 127) / 255))"
}
# A repaint of the button alone draws its frame again over the last one, and a press repaints
# it more than once: accept one to three blends over what the screen showed before.
expect_blended() {  # expect_blended WHAT X Y "front" "before"
  local got want=$5
  got=$(pixel "$2" "$3" | tr -d '\r')
  for _ in 1 2 3; do
    want=$(blend "$4" "$want")
    near "$got" "$want" && return 0
  done
  fail "$1: pixel $2,$3 is $got, expected $4 blended over $5"
}
expect_pixel() {  # expect_pixel WHAT X Y "r g b"
  local got
  got=$(pixel "$2" "$3" | tr -d '\r')
  near "$got" "$4" || fail "$1: pixel $2,$3 is $got, expected $4"
}

frame_colour=("200 0 0" "0 200 0" "0 0 200")
background="40 60 80"

# Each button takes its frame's size at its template corner.
read -r sx sy sw sh < <(rect 1001)
read -r cx cy _ < <(rect 1011)
[ "$sx $sy $sw $sh" = "$cx $cy 40 24" ] || fail "small button at $sx,$sy ${sw}x$sh, expected $cx,$cy 40x24"
read -r wx wy ww wh < <(rect 1002)
read -r cx cy _ < <(rect 1012)
[ "$wx $wy $ww $wh" = "$cx $cy 155 52" ] || fail "wide button at $wx,$wy ${ww}x$wh, expected $cx,$cy 155x52"

# Normal: the pointer away from every control; each button shows frame 0 over the background.
xdotool mousemove 5 5
settle
shot normal
opaque=("$((sx + 5))" "$((sy + 12))") half=("$((sx + 30))" "$((sy + 12))")
expect_pixel "normal, opaque half" "${opaque[@]}" "${frame_colour[0]}"
expect_pixel "normal, transparent half" "${half[@]}" "$(blend "${frame_colour[0]}" "$background")"
expect_pixel "wide normal" "$((wx + 10))" "$((wy + 10))" "${frame_colour[0]}"
[ "$(count "$wx" "$wy" "$ww" "$wh" 255 0 255)" = 0 ] || fail "the strip's spare columns were drawn"

# Pointer over, then pressed: frames 1 and 2, each blended over what the screen showed before.
for state in hover pressed; do
  before=$(pixel "${half[@]}" | tr -d '\r')
  if [ $state = hover ]; then
    xdotool mousemove "${opaque[@]}"
    frame=1
  else
    xdotool mousedown 1
    frame=2
  fi
  settle
  shot $state
  expect_pixel "$state, opaque half" "${opaque[@]}" "${frame_colour[frame]}"
  expect_blended "$state, transparent half" "${half[@]}" "${frame_colour[frame]}" "$before"
done
xdotool mouseup 1
settle
[ "$(text 1031)" = "1 0" ] || fail "one click gave commands '$(text 1031)', expected '1 0'"
expect_pixel "released, pointer still over" "${opaque[@]}" "${frame_colour[1]}"

# A double-click is two presses: two more commands.
xdotool click --repeat 2 --delay 80 1
settle
[ "$(text 1031)" = "3 0" ] || fail "a double-click gave commands '$(text 1031)', expected '3 0'"

# Out and in again, twice: each leave shows frame 0 and each return frame 1.
for round in 1 2; do
  xdotool mousemove "$((sx + 60))" "$((sy + 12))"
  settle
  expect_pixel "left the button ($round)" "${opaque[@]}" "${frame_colour[0]}"
  xdotool mousemove "${opaque[@]}"
  settle
  expect_pixel "back over the button ($round)" "${opaque[@]}" "${frame_colour[1]}"
done

# Link label: blue, green under the pointer, blue again when it leaves; a click opens the target
# and leaves it blue for good. The underline row makes the colour count reliable.
read -r lx ly lw lh < <(rect 1021)
label_colours() { echo "$(count "$lx" "$ly" "$lw" "$lh" 0 0 255) $(count "$lx" "$ly" "$lw" "$lh" 0 255 0)"; }
expect_label() {  # expect_label WHAT blue|green
  local -a c=($(label_colours))
  if [ "$2" = blue ]; then
    [ "${c[0]}" -gt 20 ] && [ "${c[1]}" = 0 ] || fail "$1: label shows blue ${c[0]}, green ${c[1]}; expected blue"
  else
    [ "${c[1]}" -gt 20 ] && [ "${c[0]}" = 0 ] || fail "$1: label shows blue ${c[0]}, green ${c[1]}; expected green"
  fi
}
xdotool mousemove 5 5
settle
expect_label "label, pointer away" blue
xdotool mousemove $((lx + 10)) $((ly + 8))
settle
xdotool mousemove $((lx + 14)) $((ly + 8))
settle
shot label-hover
expect_label "label, pointer over" green
# Away within the dialog: under Wine a captured window sees no moves outside its own window.
xdotool mousemove $((lx + lw + 8)) $((ly + 8))
settle
expect_label "label, pointer gone" blue
[ -z "$(text 1032)" ] || fail "a link opened without a click: '$(text 1032)'"
xdotool mousemove $((lx + 10)) $((ly + 8)) click 1
settle
shot label-visited
[ "$(text 1032)" = "mailto:maker@tallowick.cn" ] || fail "the click opened '$(text 1032)'"
xdotool mousemove $((lx + 14)) $((ly + 8))
settle
expect_label "visited label, pointer over" blue

# The second label, without underline, opens its web address unchanged.
read -r lx ly lw lh < <(rect 1022)
xdotool mousemove $((lx + 10)) $((ly + 8)) click 1
settle
[ "$(text 1032)" = "http://www.tallowick.cn" ] || fail "the web label opened '$(text 1032)'"

echo "screenshots: $shots/skin-{normal,hover,pressed,label-hover,label-visited}.png"
[ $failures -eq 0 ] && echo "skin dialog: all checks passed"
exit $((failures > 0))
