#!/usr/bin/env bash
# Times the media date lookup on raw photos and camera videos sized like real ones: one file of
# each format (tallowick-make-album --camera: raws of --raw-size, videos of --video-size,
# written sparse), hard-linked into --copies folders. Contenders, on a warm cache:
#   the date pass      tallowick-date-scan --media TREE
#   a bare read        the same byte ranges the pass asks for (--trace), read unbuffered and
#                      unparsed (tallowick-date-scan --replay): the floor for those bytes
#   exiftool           reading the same dates (DateTimeOriginal)
# Then checks that both readers find the same day for every file, and the pass's peak memory
# on trees of 1x and 10x the copies.
#
# Usage: tools/bench/camera_bench.sh [--copies N] [--reps R] [--raw-size S] [--video-size S]
#                                    [--work DIR]
#   --copies N      folders of hard links (default 100)
#   --reps R        repetitions of each timing, the median reported (default 5)
#   --raw-size S    image data of each raw photo (default 40M)
#   --video-size S  media data of each video (default 300M; the transport streams take that
#                   room on disk, the other files are sparse)
#   --work DIR      where the files and trees go (default build/bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
copies=100 reps=5 raw=40M video=300M work=$root/build/bench
while [ $# -gt 0 ]; do
  case $1 in
    --copies) copies=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --raw-size) raw=$2; shift 2 ;;
    --video-size) video=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    -h|--help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "camera_bench: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake --preset linux -S "$root" >/dev/null
cmake --build "$root/build/linux" --target tallowick-make-album tallowick-date-scan >/dev/null
bin=$root/build/linux
mkdir -p "$work"
base=$work/camera-files-$raw-$video
if [ ! -f "$base.done" ]; then
  rm -rf "$base"
  "$bin/tallowick-make-album" --camera --raw-size "$raw" --video-size "$video" "$base"
  rm "$base/dates.tsv"
  touch "$base.done"
fi
tree() {  # COPIES -> a tree of that many folders of hard links to the files
  local t=$work/camera-tree-$raw-$video-$1
  if [ ! -f "$t.done" ]; then
    rm -rf "$t"
    for ((i = 0; i < $1; i++)); do
      mkdir -p "$t/$((i / 10))/$i"
      ln "$base"/* "$t/$((i / 10))/$i/"
    done
    touch "$t.done"
  fi
  echo "$t"
}
main=$(tree "$copies")
files=$(find "$main" -type f | wc -l)
apparent=$(du -s --apparent-size --block-size=1M "$main" | cut -f1)
echo "tree: $main ($files files of $apparent MB apparent size; $(du -sh "$base" | cut -f1) on disk)"

"$bin/tallowick-date-scan" --media --trace "$main" >"$work/camera-ranges.txt" 2>/dev/null
ranged=$(awk -F'\t' '{s += $3} END {print s}' "$work/camera-ranges.txt")
echo "the pass asks for $(wc -l <"$work/camera-ranges.txt") ranges, $ranged bytes: $((ranged / files)) bytes per file"
find "$main" -type f -print0 | xargs -0 -n 200 head -c 65536 >/dev/null  # warm the heads
"$bin/tallowick-date-scan" --media "$main" 2>/dev/null
"$bin/tallowick-date-scan" --replay "$work/camera-ranges.txt" 2>/dev/null

times=$work/camera.times
rm -f "$times"
timed() {  # LABEL CMD...
  local label=$1 start end
  shift
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  end=$EPOCHREALTIME
  awk -v l="$label" -v a="$start" -v b="$end" 'BEGIN {printf "%s %.4f\n", l, b - a}' >>"$times"
}
median() { awk -v l="$1" '$1 == l {print $2}' "$times" | sort -n |
  awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
for ((r = 0; r < reps; r++)); do
  timed scan "$bin/tallowick-date-scan" --media "$main"
  timed bare "$bin/tallowick-date-scan" --replay "$work/camera-ranges.txt"
done
timed exiftool exiftool -q -q -r -s3 -DateTimeOriginal "$main"
scan=$(median scan) bare=$(median bare) exif=$(median exiftool)
printf '%-44s %9s %12s\n' contender seconds files/s
printf '%-44s %9s %12.0f\n' "date pass (tallowick-date-scan --media)" "$scan" "$(echo "$files / $scan" | bc -l)"
printf '%-44s %9s %12.0f\n' "bare read of the same ranges" "$bare" "$(echo "$files / $bare" | bc -l)"
printf '%-44s %9s %12.0f\n' "exiftool -DateTimeOriginal (one run)" "$exif" "$(echo "$files / $exif" | bc -l)"
echo "date pass / bare read: $(echo "$scan / $bare" | bc -l | xargs printf '%.2f')x;" \
  "exiftool / date pass: $(echo "$exif / $scan" | bc -l | xargs printf '%.0f')x"

# The same day from both readers for every file exiftool dates (an AVI without a date of its
# own has its .THM's day in the pass, and none in exiftool's reading of the AVI).
exiftool -q -q -r -f -d '%Y-%m-%d' -p '$directory/$filename	$DateTimeOriginal' "$main" 2>/dev/null |
  awk -F'\t' '$2 != "-"' | sort >"$work/camera-exiftool.txt"
"$bin/tallowick-date-scan" --media --print "$main" 2>/dev/null | sort >"$work/camera-tallowick.txt"
both=$(join -t $'\t' "$work/camera-exiftool.txt" "$work/camera-tallowick.txt" | wc -l)
differ=$(join -t $'\t' "$work/camera-exiftool.txt" "$work/camera-tallowick.txt" | awk -F'\t' '$2 != $3' | wc -l)
echo "days compared with exiftool: $both files, $differ different"

# Peak memory of the pass as the tree grows tenfold.
small=$(tree $((copies / 10 > 0 ? copies / 10 : 1)))
for t in "$small" "$main"; do
  /usr/bin/time -f "%M" -o "$work/camera.rss" "$bin/tallowick-date-scan" --media "$t" 2>/dev/null
  echo "peak memory over $(find "$t" -type f | wc -l) files: $(cat "$work/camera.rss") KB"
done
