#!/usr/bin/env bash
# Draws the picture on the left of the setup program's first and last pages (164 x 314, as the
# wizard expects) into installer/wizard.bmp, in the skin's colours with the program's icon and
# name. The output is committed, so a build needs no ImageMagick.
#   installer/draw_wizard.sh
set -euo pipefail
cd "$(dirname "$0")/.."
font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
convert -size 164x314 gradient:'#1F6B81-#103E4B' \
  \( 'res/images/tallowick.ico[0]' \) -gravity north -geometry +0+58 -composite \
  -font "$font" -fill white -pointsize 22 -annotate +0+172 '拾光整理' \
  -fill '#CFE2E8' -pointsize 11 -annotate +0+204 '按拍摄日期整理照片和视频' \
  -type TrueColor BMP3:installer/wizard.bmp
