#!/usr/bin/env bash
# Makes the small real videos and HEIF images under tests/media_samples with Debian's own
# writers (ffmpeg, heif-enc), and records in dates.tsv what exiftool reads from each, the
# reference the metadata tests compare the readers with. Run once; the output is committed.
#   needs: ffmpeg libheif-examples libimage-exiftool-perl
set -euo pipefail
cd "$(dirname "$0")/.."
out=tests/media_samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
find "$out" -maxdepth 1 -type f -delete  # camera/ is tools/make_camera_samples.sh's

# One frame of 16x16 video. Times are at noon UTC, the same day in every zone from UTC-11 to
# UTC+11, so the tests hold wherever they run.
video() {  # name, options...
  local name=$1
  shift
  ffmpeg -nostdin -loglevel error -f lavfi -i color=c=gray:s=16x16:d=0.04:r=25 "$@" "$out/$name"
}
video utc.mp4 -c:v mpeg4 -metadata creation_time=2019-07-01T12:00:00Z
video utc_moov_first.m4v -c:v mpeg4 -movflags faststart -metadata creation_time=2018-11-30T12:00:00Z
video apple_key.mov -c:v mpeg4 -movflags use_metadata_tags \
  -metadata creation_time=2020-02-03T04:30:00Z \
  -metadata com.apple.quicktime.creationdate=2020-02-02T23:30:00-0500
video apple_key_east.mp4 -c:v mpeg4 -movflags use_metadata_tags \
  -metadata creation_time=2021-03-14T17:15:00Z \
  -metadata com.apple.quicktime.creationdate=2021-03-15T01:15:00+0800
video phone.3gp -c:v h263 -s 128x96 -metadata creation_time=2017-05-06T12:00:00Z
video no_time.mp4 -c:v mpeg4

# A HEIF image carrying the EXIF block of a JPEG.
ffmpeg -nostdin -loglevel error -f lavfi -i color=c=gray:s=64x64 -frames:v 1 "$work/plain.jpg"
exiftool -q -overwrite_original -DateTimeOriginal="2016:08:09 10:11:12" "$work/plain.jpg"
heif-enc -q 50 -o "$out/photo.heic" "$work/plain.jpg" >/dev/null

# file, the day exiftool's answer gives, the tag it came from.
{
  printf 'file\tday\ttag\n'
  for f in "$out"/*; do
    name=${f##*/}
    [ "$name" = dates.tsv ] && continue
    tag=$(exiftool -s -s -s -d '%Y-%m-%d' -p '$DateTimeOriginal' "$f" 2>/dev/null | head -1)
    src=DateTimeOriginal
    if [ -z "$tag" ]; then
      tag=$(exiftool -s -s -s -d '%Y-%m-%d' -CreationDate "$f")
      src=CreationDate
    fi
    if [ -z "$tag" ]; then
      tag=$(exiftool -s -s -s -d '%Y-%m-%d' -CreateDate "$f")
      src=CreateDate
    fi
    case "$tag" in 0000*) tag= ;; esac
    printf '%s\t%s\t%s\n' "$name" "$tag" "${tag:+$src}"
  done
} >"$work/dates.tsv"
mv "$work/dates.tsv" "$out/dates.tsv"
ls -l "$out"
