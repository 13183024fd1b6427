#!/usr/bin/env bash
# Times tallowick-cli against the plain tools a user would reach for, on one generated tree:
#   copy mode         tallowick-cli SRC DST            vs  cp -a SRC DST (which also keeps the
#                     files' times and permissions), and vs tallowick-cli --jobs N for each N
#                     of --jobs (the default picks the count by the disks)
#   move mode         tallowick-cli --move SRC DST     vs  mv of the same files (one file system)
#   date lookup alone tallowick-date-scan SRC          vs  exiftool -DateTimeOriginal (if installed)
# and a scaling check (time per file for trees of 1,000 / 10,000 [/ 100,000] small files).
# Every contender gets the same file-cache state: the source tree is read once before timing
# (warm cache), and written data is synced to disk between runs, outside the timed part.
#
# Usage: tools/bench/bench.sh [--files N] [--reps R] [--jobs LIST] [--work DIR] [--huge]
#                             [--no-scaling] [--camera DIR]
#   --files N     files in the main tree (default 10000; JPEGs of 10 KB to 5 MB, ~8 GB)
#   --jobs LIST   worker counts to time beside the default, comma-separated (default 1)
#   --reps R      repetitions of each timing; the median is reported (default 3)
#   --work DIR    where trees are generated (default build/bench; needs ~2.5x the tree's size)
#   --huge        add 100,000 files to the scaling check
#   --no-scaling  skip the scaling check
#   --camera DIR  also time both date readers on real photos: the JPEGs in DIR, hard-linked
#                 (or copied) over and over into a tree of about 9,000 files
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
files=10000 reps=3 jobs=1 work=$root/build/bench huge=0 scaling=1 camera=
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --huge) huge=1; shift ;;
    --no-scaling) scaling=0; shift ;;
    --camera) camera=$(cd "$2" && pwd); shift 2 ;;
    -h|--help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake --preset linux -S "$root" >/dev/null
cmake --build "$root/build/linux" --target tallowick-cli tallowick-make-album tallowick-date-scan >/dev/null
bin=$root/build/linux
mkdir -p "$work"

# shellcheck source=tools/bench/bench_lib.sh
source "$root/tools/bench/bench_lib.sh"
IFS=, read -r -a counts <<<"$jobs"

copy_round() {  # copy_round TREE TAG [JOBS...]: cp -a, tallowick-cli, and --jobs each of JOBS
  local tree=$1 tag=$2 out=$work/out n
  shift 2
  rm -rf "$out"; sync
  timed "cp-$tag" cp -a "$tree" "$out"
  rm -rf "$out"; mkdir -p "$out"; sync
  timed "tw-copy-$tag" "$bin/tallowick-cli" --quiet --error-file "$work/errors.txt" "$tree" "$out"
  for n in "$@"; do
    rm -rf "$out"; mkdir -p "$out"; sync
    timed "tw-copy-$tag-jobs$n" "$bin/tallowick-cli" --jobs "$n" --quiet --error-file "$work/errors.txt" "$tree" "$out"
  done
  rm -rf "$out"; sync
}

machine
rm -f "$work"/*.times

tree=$(make_tree "$files" 5000000)
count=$(find "$tree" -type f | wc -l)
size=$(du -sh "$tree" | cut -f1)
echo "tree: $tree ($count files, $size)"

for ((r = 0; r < reps; r++)); do
  # The copies of the previous round may have pushed parts of the tree out of the cache, and
  # their write-back would compete: warm again, and time the read-only contenders first.
  warm "$tree"
  timed tw-dates "$bin/tallowick-date-scan" "$tree"
  if command -v exiftool >/dev/null; then
    timed exiftool exiftool -q -r -ext jpg -s3 -DateTimeOriginal "$tree"
  fi

  copy_round "$tree" main "${counts[@]}"

  # Move: both contenders move the same files out of a fresh copy of the tree.
  for who in mv tw-move; do
    rm -rf "$work/msrc" "$work/out"; cp -r "$tree" "$work/msrc"; mkdir -p "$work/out"; sync
    if [ $who = mv ]; then
      timed mv sh -c 'find "$1" \( -name ".*" -o -name "~*" \) -prune -o -type f \( -iname "*jpg" -o -iname "*avi" -o -iname "*mov" -o -iname "*mp4" \) -print0 | xargs -0 mv -n -t "$2"' sh "$work/msrc" "$work/out"
    else
      timed tw-move "$bin/tallowick-cli" --move --quiet --error-file "$work/errors.txt" "$work/msrc" "$work/out"
    fi
  done
  rm -rf "$work/msrc" "$work/out"; sync
done

jpegs=$(find "$tree" \( -name '.*' -o -name '~*' \) -prune -o -type f -iname '*.jpg' -print | wc -l)
echo
printf '%-34s %10s %10s %8s\n' "contender" "seconds" "peak MB" "ratio"
printf '%-34s %10s %10s\n' "cp -a" "$(seconds cp-main)" "$(peak_mb cp-main)"
printf '%-34s %10s %10s %8s\n' "tallowick-cli (copy)" "$(seconds tw-copy-main)" "$(peak_mb tw-copy-main)" \
  "$(ratio "$(seconds tw-copy-main)" "$(seconds cp-main)")x"
for n in "${counts[@]}"; do
  printf '%-34s %10s %10s %8s\n' "tallowick-cli --jobs $n (copy)" "$(seconds "tw-copy-main-jobs$n")" \
    "$(peak_mb "tw-copy-main-jobs$n")" "$(ratio "$(seconds "tw-copy-main-jobs$n")" "$(seconds cp-main)")x"
done
printf '%-34s %10s %10s\n' "mv (each file)" "$(seconds mv)" "$(peak_mb mv)"
printf '%-34s %10s %10s %8s\n' "tallowick-cli --move" "$(seconds tw-move)" "$(peak_mb tw-move)" \
  "$(ratio "$(seconds tw-move)" "$(seconds mv)")x"
tw_rate=$(awk -v n="$jpegs" -v s="$(seconds tw-dates)" 'BEGIN {printf "%.0f", n / (s > 0 ? s : 0.001)}')
printf '%-34s %10s %10s %8s\n' "date lookup ($jpegs JPEGs)" "$(seconds tw-dates)" "$(peak_mb tw-dates)" "$tw_rate/s"
if [ -f "$work/exiftool.times" ]; then
  ex_rate=$(awk -v n="$jpegs" -v s="$(seconds exiftool)" 'BEGIN {printf "%.0f", n / (s > 0 ? s : 0.001)}')
  printf '%-34s %10s %10s %8s\n' "exiftool -DateTimeOriginal" "$(seconds exiftool)" "$(peak_mb exiftool)" "$ex_rate/s"
  echo "date lookup speed-up over exiftool: $(ratio "$tw_rate" "$ex_rate")x"
  # Both must read the same dates: compare every answer.
  diff <("$bin/tallowick-date-scan" --print "$tree" 2>/dev/null | awk -F'\t' '{print ($2 == "") ? "-" : $2}' | sort | uniq -c) \
       <(exiftool -q -r -f -ext jpg -p '${DateTimeOriginal;s/ .*//;s/:/-/g}' "$tree" 2>/dev/null | sort | uniq -c) >/dev/null \
    && echo "dates: the same answers as exiftool" || echo "dates: DIFFERENT answers from exiftool (see tallowick-date-scan --print)"
fi

if [ -n "$camera" ] && command -v exiftool >/dev/null; then
  # Camera photos carry large EXIF blocks with thumbnails and maker notes: a head takes more
  # than one read, and exiftool has more to decode.
  ctree=$work/camera-tree
  if [ ! -f "$ctree.done" ]; then
    rm -rf "$ctree"
    mapfile -t photos < <(find "$camera" -maxdepth 1 -type f -iname '*.jpg')
    [ ${#photos[@]} -gt 0 ] || { echo "bench: no JPEGs in $camera" >&2; exit 2; }
    for ((i = 0; i * ${#photos[@]} < 9000; i++)); do
      mkdir -p "$ctree/$((i % 40))/$i"
      ln "${photos[@]}" "$ctree/$((i % 40))/$i/" 2>/dev/null || cp "${photos[@]}" "$ctree/$((i % 40))/$i/"
    done
    touch "$ctree.done"
  fi
  rm -f "$work/tw-camera.times" "$work/exiftool-camera.times"
  warm "$ctree"
  for ((r = 0; r < reps; r++)); do
    timed tw-camera "$bin/tallowick-date-scan" "$ctree"
    timed exiftool-camera exiftool -q -r -ext jpg -s3 -DateTimeOriginal "$ctree"
  done
  n=$(find "$ctree" -type f -iname '*.jpg' | wc -l)
  tw_rate=$(awk -v n="$n" -v s="$(seconds tw-camera)" 'BEGIN {printf "%.0f", n / (s > 0 ? s : 0.001)}')
  ex_rate=$(awk -v n="$n" -v s="$(seconds exiftool-camera)" 'BEGIN {printf "%.0f", n / (s > 0 ? s : 0.001)}')
  echo
  echo "camera photos ($n copies of the JPEGs in $camera):"
  printf '%-34s %10s %10s %8s\n' "date lookup" "$(seconds tw-camera)" "$(peak_mb tw-camera)" "$tw_rate/s"
  printf '%-34s %10s %10s %8s\n' "exiftool -DateTimeOriginal" "$(seconds exiftool-camera)" "$(peak_mb exiftool-camera)" "$ex_rate/s"
  echo "date lookup speed-up over exiftool: $(ratio "$tw_rate" "$ex_rate")x"
fi

if [ $scaling = 1 ]; then
  echo
  echo "scaling (files of 10 KB to 64 KB, copy mode, median of $reps):"
  printf '%-10s %12s %12s' files "cp -a s" "tallowick s"
  for n in "${counts[@]}"; do printf ' %12s' "--jobs $n s"; done
  printf ' %14s %14s %10s\n' "cp ms/1000" "tw ms/1000" "peak MB"
  sizes=(1000 10000)
  [ $huge = 1 ] && sizes+=(100000)
  for n in "${sizes[@]}"; do
    t=$(make_tree "$n" 64000)
    warm "$t"
    rm -f "$work"/*-s"$n"*.times
    for ((r = 0; r < reps; r++)); do copy_round "$t" "s$n" "${counts[@]}"; done
    cp_s=$(seconds "cp-s$n") tw_s=$(seconds "tw-copy-s$n")
    printf '%-10s %12s %12s' "$n" "$cp_s" "$tw_s"
    for j in "${counts[@]}"; do printf ' %12s' "$(seconds "tw-copy-s$n-jobs$j")"; done
    printf ' %14.1f %14.1f %10s\n' \
      "$(awk -v s="$cp_s" -v n="$n" 'BEGIN {print s * 1e6 / n}')" \
      "$(awk -v s="$tw_s" -v n="$n" 'BEGIN {print s * 1e6 / n}')" "$(peak_mb "tw-copy-s$n")"
  done
fi
