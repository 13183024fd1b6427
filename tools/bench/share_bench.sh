#!/usr/bin/env bash
# Times organizing from a slow share: a generated tree of small photos and videos served
# through slow-share (tools/bench/slow_share.cpp, FUSE), which answers every request only after
# a fixed wait, as a NAS or a card reader does. On each tree, taking turns, each run on a
# freshly mounted share and into a fresh folder on the local disk:
#   tallowick-cli --jobs 1                    one file at a time
#   tallowick-cli                             the default (by the disks: 8 at once on a share)
#   rclone copy --transfers 8 --checkers 8    a parallel copy that reads no dates, sorts nothing
#   cp -r                                     a plain copy
# Every tallowick-cli run must place the same files, with the same contents, in the same
# folders, with the same failure list, as the same job run on the tree directly; rclone and cp
# must copy every file. Then the date pass alone: tallowick-date-scan on the share against
# exiftool -DateTimeOriginal -fast. With --wine, also the Windows tool under Wine (the share as
# a Z: path), one file at a time and the default.
#
# Usage: tools/bench/share_bench.sh [--files LIST] [--reps R] [--wait-ms MS] [--max-size SIZE]
#                                   [--work DIR] [--wine]
#   --files LIST     sizes of the trees, comma-separated (default 1000,10000)
#   --reps R         repetitions of each timing; the median is reported (default 3)
#   --wait-ms MS     the share's wait per request in milliseconds (default 2)
#   --max-size SIZE  largest file in bytes (default 64000; files of 10 KB up to it)
#   --work DIR       where the trees, the mount point and the copies go (default build/bench-share)
#   --wine           also time tallowick-cli.exe (build/windows) under Wine
# Needs rclone, fusermount3, pkg-config and libfuse3-dev (tools/setup.sh), and /dev/fuse.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
sizes=1000,10000 reps=3 wait_ms=2 maxsize=64000 work=$root/build/bench-share wine=0
while [ $# -gt 0 ]; do
  case $1 in
    --files) sizes=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --wait-ms) wait_ms=$2; shift 2 ;;
    --max-size) maxsize=$2; shift 2 ;;
    --work) work=$(realpath -m "$2"); shift 2 ;;
    --wine) wine=1; shift ;;
    -h|--help) sed -n '2,24p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "share_bench: unknown argument $1" >&2; exit 2 ;;
  esac
done
for tool in rclone fusermount3 pkg-config; do
  command -v $tool >/dev/null || { echo "share_bench: $tool is missing (tools/setup.sh)" >&2; exit 2; }
done

cmake --preset linux -S "$root" >/dev/null
cmake --build "$root/build/linux" --target tallowick-cli tallowick-make-album tallowick-date-scan >/dev/null
bin=$root/build/linux
slow=$bin/slow-share
if [ ! "$slow" -nt "$root/tools/bench/slow_share.cpp" ]; then
  # shellcheck disable=SC2046  # pkg-config's flags are separate words
  g++ -std=c++20 -O2 -Wall -Wextra -o "$slow" "$root/tools/bench/slow_share.cpp" $(pkg-config --cflags --libs fuse3)
fi
# shellcheck source=tools/bench/bench_lib.sh
source "$root/tools/bench/bench_lib.sh"
mkdir -p "$work"
work=$(cd "$work" && pwd)
mnt=$work/share out=$work/out

if [ $wine = 1 ]; then
  cmake --preset windows -S "$root" >/dev/null
  cmake --build "$root/build/windows" --target tallowick-cli >/dev/null
  export WINEPREFIX=$root/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
  "$root/tools/wine-prefix.sh" "$WINEPREFIX"
fi

# The share: one slow-share process at a time, always unmounted on the way out.
share_pid=
unmount() {
  if mountpoint -q "$mnt"; then
    fusermount3 -u "$mnt" 2>/dev/null || fusermount3 -uz "$mnt"
  fi
  if [ -n "$share_pid" ]; then
    wait "$share_pid" 2>/dev/null || true
    share_pid=
  fi
}
cleanup() {
  unmount
  rm -rf "$out"
  if [ $wine = 1 ] && [ -n "${own_wineserver:-}" ]; then wineserver -k 2>/dev/null || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
# mount_share TREE: serves TREE afresh at $mnt, so that every run meets a share with nothing
# cached on this side.
mount_share() {
  unmount
  mkdir -p "$mnt"
  rm -f "$work/requests"
  "$slow" "$1" "$mnt" "$wait_ms" --count "$work/requests" 2>"$work/share.log" &
  share_pid=$!
  for ((i = 0; i < 200; i++)); do
    if mountpoint -q "$mnt"; then return 0; fi
    sleep 0.05
  done
  echo "share_bench: the share did not mount:" >&2; cat "$work/share.log" >&2; exit 1
}

if [ $wine = 1 ]; then
  # A persistent Wine server (unless one of this prefix runs already), so that no run pays for
  # starting one.
  if wineserver -p 2>/dev/null; then own_wineserver=1; fi
  wine cmd /c exit </dev/null >/dev/null 2>&1
fi

# share_run LABEL TREE CMD...: one timed run from a fresh share into an empty $out ("{src}"
# and "{out}" in CMD stand for them; "{wsrc}" and "{wout}" for their Z: paths under Wine);
# the requests the share answered go to $work/LABEL.requests.
share_run() {
  local label=$1 tree=$2; shift 2
  rm -rf "$out" "$work/errors.txt"
  [ "$label" = cp ] || mkdir "$out"  # cp -r makes its target itself
  sync
  mount_share "$tree"
  local args=() a
  for a in "$@"; do
    a=${a//\{src\}/$mnt} a=${a//\{out\}/$out}
    a=${a//\{wsrc\}/Z:$mnt} a=${a//\{wout\}/Z:$out}
    args+=("$a")
  done
  timed "$label" "${args[@]}"
  unmount
  cat "$work/requests" >>"$work/$label.requests"
}

# failures TREE: the failure list, with TREE's place in it made the same wherever it was read
# (Wine writes Z:\ paths).
failures() {
  [ ! -f "$work/errors.txt" ] ||
    sed -e 's|\r$||; s|\\|/|g; s|Z:/|/|g' -e "s|$1|SRC|g; s|$out|OUT|g" "$work/errors.txt"
}

# check LABEL EXPECTED [failures]: the files now in $out against the EXPECTED fingerprint, and
# with "failures" the failure list against the reference run's.
check() {
  if ! diff -q <(fingerprint "$out") "$2" >/dev/null; then
    echo "share_bench: $1 placed different files (kept in $work/different)" >&2
    rm -rf "$work/different"; mv "$out" "$work/different"; exit 1
  fi
  if [ $# -gt 2 ] && ! diff -q <(failures "$mnt") "$work/reference-failures.txt" >/dev/null; then
    echo "share_bench: $1 listed different failures:" >&2
    diff <(failures "$mnt") "$work/reference-failures.txt" >&2; exit 1
  fi
}

machine
echo "share: every request answered after $wait_ms ms; results in seconds, median of $reps," \
  "contenders taking turns"
IFS=, read -r -a trees <<<"$sizes"
for n in "${trees[@]}"; do
  tree=$(make_tree "$n" "$maxsize")
  warm "$tree"
  count=$(find "$tree" -type f | wc -l)
  # The reference: the same job on the tree itself, and the copy every copier must make.
  rm -rf "$out" "$work/errors.txt"; mkdir -p "$out"
  "$bin/tallowick-cli" --jobs 1 --quiet --error-file "$work/errors.txt" "$tree" "$out" >/dev/null || [ $? -eq 1 ]
  fingerprint "$out" >"$work/reference-placed.txt"
  failures "$tree" >"$work/reference-failures.txt"
  fingerprint "$tree" >"$work/reference-copied.txt"
  rm -f "$work"/*.times "$work"/*.requests
  labels=(tw-jobs1 tw-default rclone cp)
  [ $wine = 0 ] || labels+=(wine-jobs1 wine-default)
  for ((r = 0; r < reps; r++)); do
    for label in "${labels[@]}"; do
      case $label in
        tw-jobs1) share_run $label "$tree" "$bin/tallowick-cli" --jobs 1 --quiet --error-file "$work/errors.txt" {src} {out} ;;
        tw-default) share_run $label "$tree" "$bin/tallowick-cli" --quiet --error-file "$work/errors.txt" {src} {out} ;;
        rclone) share_run $label "$tree" rclone copy --transfers 8 --checkers 8 {src} {out} ;;
        cp) share_run $label "$tree" cp -r {src} {out} ;;
        wine-jobs1) share_run $label "$tree" wine "$root/build/windows/tallowick-cli.exe" --jobs 1 --quiet --error-file "Z:$work/errors.txt" {wsrc} {wout} ;;
        wine-default) share_run $label "$tree" wine "$root/build/windows/tallowick-cli.exe" --quiet --error-file "Z:$work/errors.txt" {wsrc} {wout} ;;
      esac
      case $label in
        rclone|cp) check $label "$work/reference-copied.txt" ;;
        *) check $label "$work/reference-placed.txt" failures ;;
      esac
    done
    share_run tw-dates "$tree" "$bin/tallowick-date-scan" {src}
    share_run exiftool "$tree" exiftool -q -r -fast -ext jpg -s3 -DateTimeOriginal {src}
  done
  unmount
  rm -rf "$out"

  echo
  echo "tree of $n photos and videos ($count files, $(du -sh "$tree" | cut -f1)); load now: $(uptime | sed 's/.*load average: //')"
  printf '%-46s %9s %8s %14s %9s\n' contender seconds "peak MB" requests ratio
  requests() { awk -v n="$count" '{print $1 / n}' "$work/$1.requests" | median | xargs printf '%.1f/file'; }
  row() {  # row TEXT LABEL BASE: the ratio of LABEL's time to BASE's
    printf '%-46s %9s %8s %14s %9s\n' "$1" "$(seconds "$2")" "$(peak_mb "$2")" "$(requests "$2")" \
      "$(ratio "$(seconds "$2")" "$(seconds "$3")")x $3"
  }
  row "tallowick-cli --jobs 1" tw-jobs1 rclone
  row "tallowick-cli (default)" tw-default rclone
  row "rclone copy --transfers 8 --checkers 8" rclone rclone
  row "cp -r" cp rclone
  if [ $wine = 1 ]; then
    row "tallowick-cli.exe --jobs 1 (Wine)" wine-jobs1 rclone
    row "tallowick-cli.exe (default, Wine)" wine-default rclone
  fi
  jpegs=$(find "$tree" \( -name '.*' -o -name '~*' \) -prune -o -type f -iname '*.jpg' -print | wc -l)
  echo "date pass alone over the $jpegs JPEGs:"
  row "tallowick-date-scan" tw-dates exiftool
  row "exiftool -r -fast -DateTimeOriginal" exiftool exiftool
  echo "every tallowick-cli run placed the same $(wc -l <"$work/reference-placed.txt") files as the job on the tree itself;" \
    "rclone and cp copied all $(wc -l <"$work/reference-copied.txt")"
done
