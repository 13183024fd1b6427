#!/usr/bin/env bash
# Draws the program's skin: the two window bitmaps, the four-frame button strips, the icon
# and the hand cursor, into res/images; the bitmaps and strips also at 150 % and 200 % of
# their size (res/images/150, res/images/200, as PNG), for screens of 144 and 192 DPI. The
# output is committed, so a build needs none of the tools used here (ImageMagick, the
# WenQuanYi Zen Hei font, python3 for the cursor's bytes).
#   tools/draw_skin.sh [PREVIEW_DIR]
# Also composes the windows as a user will see them (skin, buttons at their places, sample
# texts in the windows' colours) into PREVIEW_DIR (default build/skin-preview), not committed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=res/images
preview=${1:-build/skin-preview}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$preview"

font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
# One palette, built around the text colour of the main window (31, 107, 129).
teal='#1F6B81'
teal_hover='#2F86A0'
teal_pressed='#17566A'
teal_band='#17586B'
teal_deep='#103E4B'
body='#F3F8FA'
panel='#FFFFFF'
panel_line='#CFE2E8'
grey='#A7B4B9'
grey_text='#EEF2F3'
symbol='#E4F0F3'
radius=6        # the one corner radius, in pixels at 1:1
caption_size=19 # the one caption size of the large buttons
# Small images are drawn at four times their size and scaled down, for smooth edges.
s=4

# Every length below is given at 100 %; k is the scale in per cent being drawn. p N: the length
# N at that scale, rounded as the program rounds (half up); pt N: a type size, not rounded.
k=100
p() { echo $((($1 * k + 50) / 100)); }
pt() { printf '%d.%02d' $(($1 * k / 100)) $(($1 * k % 100)); }
# P TEXT: TEXT with every number in it scaled (geometry and drawing commands, never colours).
P() { awk -v k="$k" '{ out = ""; s = $0
  while (match(s, /[0-9]+/)) { n = substr(s, RSTART, RLENGTH)
    out = out substr(s, 1, RSTART - 1) int((n * k + 50) / 100); s = substr(s, RSTART + RLENGTH) }
  print out s }' <<<"$1"; }
# R X0 Y0 X1 Y1: a rectangle of whole pixels (both corners inside) at the scale.
R() { echo "rectangle $(p $1),$(p $2) $(($(p $(($3 + 1))) - 1)),$(($(p $(($4 + 1))) - 1))"; }

# --- the large buttons: a rounded teal plate with a white caption --------------------------
# big_frame CAPTION PLATE TEXT SHIFT SHADOW OUT [WIDTH HEIGHT POINTSIZE]
big_frame() {
  local caption=$1 plate=$2 text=$3 shift=$(p $4) shadow=$5 file=$6
  local w=$(p ${7:-155}) h=$(p ${8:-52}) size=$(pt ${9:-$caption_size}) r=$(p $radius)
  local a=$(p 2) b=$(p 4) c=$(p 3) d=$(p 5)
  convert -size "${w}x${h}" xc:none \
    -fill "$shadow" -draw "roundrectangle $a,$b $((w - c)),$((h - c)) $r,$r" \
    -fill "$plate" -draw "roundrectangle $a,$((a + shift)) $((w - c)),$((h - d + shift)) $r,$r" \
    -font "$font" -pointsize "$size" -fill "$text" -gravity center \
    -annotate "+0+$((shift - $(p 1)))" "$caption" "$file"
}
# big_strip CAPTION OUT [WIDTH HEIGHT POINTSIZE]
big_strip() {
  local caption=$1 file=$2
  shift 2
  big_frame "$caption" "$teal" white 0 'rgba(16,62,75,0.22)' "$work/f0.png" "$@"
  big_frame "$caption" "$teal_hover" white 0 'rgba(16,62,75,0.22)' "$work/f1.png" "$@"
  big_frame "$caption" "$teal_pressed" '#DCEBEF' 1 none "$work/f2.png" "$@"
  big_frame "$caption" "$grey" "$grey_text" 0 'rgba(16,62,75,0.10)' "$work/f3.png" "$@"
  convert "$work"/f[0-3].png +append +repage "PNG32:$file"
}

# --- symbol buttons: a symbol over nothing, a light disc when pointed at, a dark disc when
# pressed (symbol one pixel lower), the symbol greyed in the last frame ----------------------
# symbol_strip W H MASK_DRAW BACK_DRAW OUT
#   MASK_DRAW draws the symbol in white on black at 4x; BACK_DRAW draws the plate behind it at
#   4x with the fill colour given as $FILL.
symbol_strip() {
  local w=$1 h=$2 mask=$3 back=$4 file=$5
  local W=$((w * s)) H=$((h * s))
  convert -size "${W}x${H}" xc:black -fill white -stroke white -strokewidth 0 \
    -draw "$mask" "$work/mask.png"
  local i plate sym shift
  for i in 0 1 2 3; do
    case $i in
      0) plate=none sym=$symbol shift=0 ;;
      1) plate='rgba(255,255,255,0.20)' sym=white shift=0 ;;
      2) plate='rgba(0,20,28,0.35)' sym='#D2E2E7' shift=$s ;;
      3) plate=none sym='#7F979F' shift=0 ;;
    esac
    convert -size "${W}x${H}" "xc:$sym" \( "$work/mask.png" -roll "+0+$shift" \) \
      -alpha off -compose CopyOpacity -composite "$work/sym.png"
    convert -size "${W}x${H}" xc:none -fill "$plate" -draw "$back" \
      "$work/sym.png" -compose Over -composite -resize "$(p $w)x$(p $h)!" "$work/f$i.png"
  done
  convert "$work"/f[0-3].png +append +repage "PNG32:$file"
}

# --- stop (24 x 24, on the light body): a teal disc with a white square ----------------------
stop_frame() {
  local disc=$1 mark=$2 shift=$3 file=$4
  convert -size 96x96 xc:none -fill "$disc" -draw "circle 48,$((48 + shift)) 48,$((4 + shift))" \
    -fill "$mark" -draw "roundrectangle 36,$((36 + shift)) 60,$((60 + shift)) 5,5" \
    -resize "$(p 24)x$(p 24)" "$file"
}

# draw_images SCALE DIR: every strip and both window bitmaps at SCALE per cent into DIR.
draw_images() {
  k=$1
  local dir=$2
  mkdir -p "$dir"
  big_strip "照片目录" "$dir/photo_folder.png"
  big_strip "输出目录" "$dir/output_folder.png"
  big_strip "整理" "$dir/organize.png"
  # Beside the output folder's path after a job that placed anything: opens the folder.
  big_strip "打开" "$dir/open_output.png" 44 26 12
  # The options dialog's buttons: the same plates, smaller.
  big_strip "确定" "$dir/dialog_ok.png" 88 32 14
  big_strip "取消" "$dir/dialog_cancel.png" 88 32 14
  big_strip "恢复默认" "$dir/restore_default.png" 80 26 12
  big_strip "加入 RAW 格式" "$dir/add_raw.png" 100 26 12
  big_strip "撤销上次整理…" "$dir/undo_last.png" 140 32 14

  # Close and minimise (38 x 34 each).
  local plate38="roundrectangle $((3 * s)),$((3 * s)) $((35 * s)),$((31 * s)) $((radius * s)),$((radius * s))"
  symbol_strip 38 34 \
    "stroke-linecap round stroke-width $((s * 3 / 2 + 1)) line 56,48 96,88 line 96,48 56,88" \
    "$plate38" "$dir/close.png"
  symbol_strip 38 34 "stroke-linecap round stroke-width $((s * 3 / 2 + 1)) line 56,70 96,70" \
    "$plate38" "$dir/minimise.png"
  # Options (a gear) and About (an i in a ring), 16 x 16 each.
  local disc16="circle 32,32 32,1" gear="circle 32,32 32,13" a
  for a in 0 45 90 135; do gear+=" push graphic-context translate 32,32 rotate $a"
    gear+=" roundrectangle -6,-27 6,27 3,3 pop graphic-context"; done
  gear+=" fill black stroke black circle 32,32 32,25"
  symbol_strip 16 16 "$gear" "$disc16" "$dir/options.png"
  symbol_strip 16 16 \
    "circle 32,32 32,6 fill black stroke black circle 32,32 32,11 fill white stroke white
     circle 32,18 32,14 roundrectangle 28,26 36,46 2,2" "$disc16" "$dir/about.png"
  # The About box's OK: a cross like the main window's close, in its corner.
  symbol_strip 16 16 \
    "stroke-linecap round stroke-width 7 line 17,17 47,47 line 47,17 17,47" "$disc16" \
    "$dir/about_ok.png"

  stop_frame "$teal" white 0 "$work/f0.png"
  stop_frame "$teal_hover" white 0 "$work/f1.png"
  stop_frame "$teal_pressed" '#DCEBEF' 4 "$work/f2.png"
  stop_frame "$grey" "$grey_text" 0 "$work/f3.png"
  convert "$work"/f[0-3].png +append +repage "PNG32:$dir/stop.png"

  # Without time stamps, so that drawing again changes no byte of an unchanged image.
  local f
  for f in "$dir"/*.png; do convert "$f" -define png:exclude-chunks=date,time "PNG32:$f"; done

  # The window bitmaps: at 100 % the 24-bit bitmaps the program loads as such, above it PNGs.
  local main_out="BMP3:$dir/main_skin.bmp" about_out="BMP3:$dir/about_skin.bmp"
  if [ "$k" != 100 ]; then
    main_out="PNG24:$dir/main_skin.png" about_out="PNG24:$dir/about_skin.png"
  fi
  convert "$work/icon256.png" -filter Lanczos -resize "$(p 24)x$(p 24)" "PNG32:$work/icon_title.png"

  # --- bitmap 129, the main window (622 x 416) -------------------------------------------------
  # Light body; a teal title band with the product's name; white panels behind the folder paths
  # and the message area; step marks beside the three rows; a bottom band that stays light under
  # the check box and turns teal under the white maker line.
  local panel_draw="" r step_draw="" step_text=()
  for r in "246,85 568,148" "246,177 568,240" "246,268 568,383"; do
    panel_draw+=" roundrectangle ${r% *} ${r#* } $radius,$radius"
  done
  for r in "1 117" "2 209" "3 300"; do
    set -- $r
    step_draw+=" circle 52,$2 52,$(($2 - 12))"
    step_text+=(-annotate "$(P "+$((52 - 311))+$(($2 - 208))")" "$1")
  done
  convert -size "$(P 622x416)" "xc:$body" \
    -fill "$teal_band" -draw "$(R 0 0 621 39)" \
    -fill "$teal_deep" -draw "$(R 0 40 621 41)" \
    "$work/icon_title.png" -geometry "$(P +12+8)" -compose Over -composite \
    -font "$font" -gravity NorthWest -pointsize "$(pt 17)" -fill white -annotate "$(P +44+9)" "拾光整理" \
    -pointsize "$(pt 12)" -fill '#9CC6D2' -annotate "$(P +120+14)" "Tallowick" \
    -pointsize "$(pt 13)" -fill '#5F8C99' -annotate "$(P +87+56)" "按拍摄日期把照片和视频整理到每天的文件夹" \
    -stroke "$panel_line" -strokewidth "$(p 1)" -fill "$panel" -draw "$(P "$panel_draw")" \
    -stroke '#B9D6DF' -strokewidth "$(p 2)" -draw "$(P "line 52,130 52,196 line 52,222 52,287")" \
    -fill "$body" -stroke "$teal" -draw "$(P "$step_draw")" -stroke none \
    -gravity center -pointsize "$(pt 15)" -fill "$teal" "${step_text[@]}" -gravity NorthWest \
    -fill "$panel_line" -draw "$(R 0 386 621 386)" \
    -fill "$teal_band" -draw "$(P "roundrectangle 246,389 640,430 $radius,$radius")" \
    -alpha off -type TrueColor -define png:exclude-chunks=date,time "$main_out"

  # --- bitmap 144, the About box (360 x 200): dark throughout, the icon at the left -----------
  convert -size "$(P 360x200)" gradient:"$teal_deep-#1A5E72" -rotate 0 \
    -fill "$teal_deep" -draw "$(R 0 0 359 25)" \
    -fill '#2A7389' -draw "$(R 0 26 359 26)" \
    -fill none -stroke 'rgba(255,255,255,0.06)' -strokewidth "$(p 10)" \
    -draw "$(P "roundrectangle 270,110 420,260 $((radius * 5)),$((radius * 5))")" \
    -draw "$(P "roundrectangle 300,140 400,240 $((radius * 4)),$((radius * 4))")" -stroke none \
    \( "$work/icon256.png" -resize "$(P 56x56)" \) -geometry "$(P +22+56)" -compose Over -composite \
    -alpha off -type TrueColor -define png:exclude-chunks=date,time "$about_out"
}

# --- the icon: a photo mark (sun over two hills) on a teal rounded square --------------------
convert -size 256x256 xc:none -fill "$teal" -draw "roundrectangle 8,8 247,247 52,52" \
  -fill white -draw "circle 172,84 172,56" \
  -draw "roundrectangle 36,190 220,206 6,6" \
  -draw "polygon 36,198 106,92 176,198" -draw "polygon 112,198 166,124 220,198" \
  "$work/icon256.png"
for n in 16 24 32 48 96; do
  convert "$work/icon256.png" -filter Lanczos -resize "${n}x${n}" "PNG32:$work/icon$n.png"
done
convert "$work"/icon{96,48,32,24,16}.png "$out/tallowick.ico"

draw_images 100 "$out"
draw_images 150 "$out/150"
draw_images 200 "$out/200"
k=100

# --- cursor 143: a pointing hand, 32 x 32, 16 colours, hot spot at the fingertip (12, 1) ------
python3 - "$out/hand.cur" "$preview/hand.png" <<'PY'
import struct, subprocess, sys
W = H = 32
inside = set()
def box(x0, x1, y0, y1):
    inside.update((x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1))
box(11, 13, 2, 16)   # index finger, pointing up
box(15, 17, 8, 16)   # middle finger
box(19, 21, 9, 16)   # ring finger
box(23, 25, 11, 17)  # little finger
box(11, 25, 14, 23)  # palm
box(7, 10, 15, 19)   # thumb
box(8, 10, 20, 22)
box(12, 24, 24, 28)  # wrist
inside -= {(7, 15), (11, 2), (13, 2), (15, 8), (17, 8), (19, 9), (21, 9), (23, 11), (25, 11)}
black = set()
for (x, y) in inside:
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        n = (x + dx, y + dy)
        if n not in inside:
            black.add(n)
# Creases between the fingers down to the palm.
for x, top in ((14, 8), (18, 9), (22, 11)):
    black.update((x, y) for y in range(top, 14))
white = inside - black
def index(x, y):
    return 0 if (x, y) in black else 1 if (x, y) in white else None
xor, mask = b"", b""
for y in reversed(range(H)):        # bottom-up rows
    row = [index(x, y) for x in range(W)]
    xor += bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, W, 2))
    bits = 0
    for x in range(W):
        bits = bits << 1 | (row[x] is None)
    mask += bits.to_bytes(4, "big")
palette = b"\0\0\0\0" + b"\xff\xff\xff\0" + b"\0\0\0\0" * 14
image = struct.pack("<IiiHHIIiiII", 40, W, 2 * H, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
image += palette + xor + mask
header = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", W, H, 16, 0, 12, 1, len(image), 22)
open(sys.argv[1], "wb").write(header + image)
# A picture of it for looking at: black, white, and a checker where the screen shows through.
ppm = b"P6 %d %d 255\n" % (W, H)
for y in range(H):
    for x in range(W):
        i = index(x, y)
        ppm += b"\0\0\0" if i == 0 else b"\xff\xff\xff" if i == 1 else \
            (b"\xcc\xcc\xcc" if (x // 4 + y // 4) % 2 else b"\x99\x99\x99")
subprocess.run(["convert", "ppm:-", sys.argv[2]], input=ppm, check=True)
PY

# --- previews -----------------------------------------------------------------------------------
# frame0 STRIP: the strip's first frame
frame0() { convert "$1" -crop "$(($(identify -format %w "$1") / 4))x$(identify -format %h "$1")+0+0" +repage "$2"; }
sharp="WenQuanYi-Zen-Hei-Sharp"
place=()
for p in "close.png 582 2" "minimise.png 544 2" "options.png 512 5" "about.png 494 5" \
         "photo_folder.png 87 91" "output_folder.png 87 183" "organize.png 87 274" \
         "stop.png 573 286"; do
  set -- $p
  frame0 "$out/$1" "$work/p_$1"
  place+=("$work/p_$1" -geometry "+$2+$3" -composite)
done
text=(-gravity NorthWest -font "$sharp" -pointsize 12 -fill '#1F6B81')
convert "$out/main_skin.bmp" -compose Over "${place[@]}" "${text[@]}" \
  -annotate +252+110 'D:\\照片\\2024 旅行\\' -annotate +252+202 'E:\\整理后的照片\\' \
  -annotate +252+276 '已复制: D:\\照片\\2024 旅行\\IMG_0412.JPG' \
  -annotate +252+292 '已复制: D:\\照片\\2024 旅行\\IMG_0413.JPG' \
  -annotate +252+308 '整理完成: 共 2 个文件, 失败 0 个' \
  -fill white -stroke '#6C6C6C' -draw 'rectangle 93,393 105,405' -stroke none \
  -fill '#1F6B81' -annotate +110+393 '删除源文件' \
  -fill white -annotate +261+396 'Tallowick 工作室出品  https://tallowick.example' \
  "$preview/main.png"
frame0 "$out/about_ok.png" "$work/p_ok.png"
convert "$out/about_skin.bmp" "$work/p_ok.png" -geometry +339+5 -compose Over -composite \
  -gravity NorthWest -font "$sharp" -pointsize 12 -fill white -annotate +10+5 '关于 拾光整理' \
  -fill '#F5F5F5' -annotate +95+52 '拾光整理 1.0 版' -annotate +95+75 '版权所有 (C) 2026 Tallowick' \
  -annotate +95+97 'Tallowick 工作室出品' -annotate +95+120 'https://tallowick.example' \
  -annotate +95+142 'E-Mail: hi@tallowick.example' -annotate +96+165 'QQ: 2026051701' \
  "$preview/about.png"
# Every strip at 2:1, stacked, for a close look at the four frames.
for f in "$out"/*.png; do convert "$f" -background '#8FA3A9' -flatten -scale 200% "$work/z_$(basename "$f")"; done
convert "$work"/z_*.png -background white -gravity west -gravity north -splice 0x6 -append "$preview/strips.png"
convert "$work"/icon{96,48,32,24,16}.png -background '#DDDDDD' -gravity center +append \
  "$preview/icons.png"
echo "drew $(ls "$out" | wc -l) images into $out; previews in $preview"
