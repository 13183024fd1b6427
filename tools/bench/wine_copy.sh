#!/usr/bin/env bash
# Times copying with the Windows build of tallowick-cli under Wine: one generated tree copied
# into an empty target, repeated, median reported with the throughput. With --compare, another
# build of the tool (say, one saved from an earlier commit) is timed in turns with this one on
# the same tree, so that both meet the same file-cache state.
#
# Usage: tools/bench/wine_copy.sh [--files N] [--max-size SIZE] [--reps R] [--work DIR]
#                                 [--compare OTHER.exe]
#   --files N          files in the tree (default 400, JPEGs of 10 KB up to --max-size)
#   --max-size SIZE    largest file (default 5M; the tree is then about 1 GB)
#   --reps R           repetitions of each timing; the median is reported (default 5)
#   --work DIR         where the tree and the copies go (default build/bench-wine)
#   --compare EXE      also time this tallowick-cli.exe, alternating with the built one
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
files=400 maxsize=5M reps=5 work=$root/build/bench-wine other=
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --max-size) maxsize=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --work) work=$(realpath -m "$2"); shift 2 ;;
    --compare) other=$(realpath "$2"); shift 2 ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "wine_copy: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake --preset windows -S "$root" >/dev/null
cmake --build "$root/build/windows" --target tallowick-cli tallowick-make-album >/dev/null
bin=$root/build/windows
export WINEPREFIX=$bin/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
"$root/tools/wine-prefix.sh" "$WINEPREFIX"
# A persistent Wine server (unless one runs already), so that no run pays for starting one.
if wineserver -p 2>/dev/null; then
  trap 'wineserver -k 2>/dev/null || true' EXIT
fi
wine cmd /c exit </dev/null >/dev/null 2>&1

mkdir -p "$work"
tree=$work/tree-$files-$maxsize
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  wine "$bin/tallowick-make-album.exe" --files "$files" --max-size "$maxsize" --seed 7 \
    "Z:$tree" >/dev/null
  touch "$tree.done"
fi
megabytes=$(du -sm --apparent-size "$tree" | cut -f1)
find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm cache for every run

# run LABEL EXE: one timed copy into an empty target; appends the seconds to $work/LABEL.times.
run() {
  rm -rf "$work/out"
  mkdir "$work/out"
  sync
  local start=$EPOCHREALTIME
  wine "$2" --quiet --error-file "Z:$work/errors.txt" "Z:$tree" "Z:$work/out" >/dev/null
  local end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN {printf "%.4f\n", b - a}' >>"$work/$1.times"
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
report() {
  local seconds
  seconds=$(median <"$work/$1.times")
  awk -v l="$1" -v s="$seconds" -v m="$megabytes" \
    'BEGIN {printf "%-10s %8.2f s  %7.0f MB/s\n", l, s, m / s}'
}

rm -f "$work"/*.times
for ((i = 0; i < reps; i++)); do
  run built "$bin/tallowick-cli.exe"
  [ -z "$other" ] || run compared "$other"
done
echo "copy of $files files, $megabytes MB, under Wine (median of $reps):"
report built
[ -z "$other" ] || report compared
rm -rf "$work/out"
