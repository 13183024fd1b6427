#!/usr/bin/env bash
# Makes the small real still images and videos under tests/media_samples/camera with Debian's
# own writers (ImageMagick, cjxl, ffmpeg; exiftool writes the dates), and records in
# dates.tsv the day exiftool reads from each and the source the media date lookup names for
# it. An AVI without a date of its own gets the day of the .THM beside it. Run once; the
# output is committed.
#   needs: imagemagick libjxl-tools ffmpeg libimage-exiftool-perl
set -euo pipefail
cd "$(dirname "$0")/.."
out=tests/media_samples/camera
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*

ffmpeg -nostdin -loglevel error -f lavfi -i color=c=gray:s=64x64 -frames:v 1 "$work/plain.jpg"
cp "$work/plain.jpg" "$work/dated.jpg"
exiftool -q -overwrite_original -DateTimeOriginal="2016:08:09 10:11:12" "$work/dated.jpg"
convert "$work/plain.jpg" -strip "$work/plain.png"
dated() {  # FILE DATE: exiftool writes the date of capture into FILE
  exiftool -m -q -overwrite_original -DateTimeOriginal="$2" "$1"
}
# ImageMagick puts the JPEG's EXIF into an eXIf chunk after the image data.
convert "$work/dated.jpg" "$out/after_idat.png"
# exiftool puts it before the image data.
cp "$work/plain.png" "$out/exiftool.png" && dated "$out/exiftool.png" "2017:01:02 10:11:12"
convert "$work/dated.jpg" "$out/photo.webp"
convert "$work/plain.jpg" -strip "$out/photo.tif" && dated "$out/photo.tif" "2017:03:04 10:11:12"
convert "$work/plain.jpg" -strip "$out/photo.psd" && dated "$out/photo.psd" "2017:05:06 10:11:12"
cjxl "$work/plain.png" "$out/photo.jxl" >/dev/null 2>&1 && dated "$out/photo.jxl" "2017:07:08 10:11:12"

video() {  # NAME OPTIONS...: one frame of 16x16 video; UTC times at noon, one day everywhere
  local name=$1
  shift
  ffmpeg -nostdin -loglevel error -f lavfi -i color=c=gray:s=16x16:d=0.04:r=25 "$@" "$out/$name"
}
video clip.mkv -c:v mjpeg -metadata creation_time=2018-02-03T12:00:00Z
video clip.webm -c:v libvpx -metadata creation_time=2018-04-05T12:00:00Z
video clip.avi -c:v mjpeg
cp "$work/plain.jpg" "$out/clip.THM" && dated "$out/clip.THM" "2018:06:07 10:11:12"
# Transport streams of 188 and 192-byte packets, without a camcorder's date.
video clip.mts -c:v libx264 -f mpegts
video clip.m2ts -c:v libx264 -f mpegts -mpegts_m2ts_mode 1

# file, the day exiftool reads, the source the lookup names.
{
  printf 'file\tday\tsource\n'
  for f in "$out"/*; do
    name=${f##*/}
    case $name in dates.tsv | *.THM) continue ;; esac
    day=$(exiftool -s3 -d '%Y-%m-%d' -DateTimeOriginal "$f" 2>/dev/null)
    case ${name##*.} in
      png) source="PNG EXIF" ;; webp) source="WebP EXIF" ;; tif) source="TIFF EXIF" ;;
      psd) source="PSD EXIF" ;; jxl) source="JXL EXIF" ;; mkv | webm) source="Matroska UTC" ;;
      avi) source="THM EXIF" day=$(exiftool -s3 -d '%Y-%m-%d' -DateTimeOriginal "${f%.*}.THM") ;;
      *) source="AVCHD" ;;
    esac
    printf '%s\t%s\t%s\n' "$name" "$day" "${day:+$source}"
  done
} >"$work/dates.tsv"
mv "$work/dates.tsv" "$out/dates.tsv"
ls -l "$out"
