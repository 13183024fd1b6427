#!/usr/bin/env bash
# The same organize job from the window and from the command-line tool, both under Wine:
# a tree of small photos (default 20,000) copied, then moved, each contender three times on a
# fresh target (and, for moves, a fresh source made of hard links to one master tree).
# Prints the median seconds of each and the window's ratio to the tool; for the window also the
# longest time it took to answer a message during the job and whether a drag moved it.
# Usage: tools/bench/window_bench.sh [--files N] [--reps R]   (Windows build must exist)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# Every Wine program of the run, the first included, must see the same X display.
[ -n "${DISPLAY:-}" ] || exec "$root/tools/with-xvfb.sh" "$0" "$@"
build=$root/build/windows
files=20000 reps=3
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    *) echo "usage: $0 [--files N] [--reps R]" >&2; exit 2 ;;
  esac
done
cmake --build "$build" --target Tallowick tallowick-cli tallowick-make-album \
  tallowick-window-job >/dev/null

export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
"$root/tools/wine-prefix.sh" "$WINEPREFIX"
wineserver -p || true  # may already be running
work=$(mktemp -d "${TMPDIR:-/tmp}/tallowick-window-bench.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wine "$build/tallowick-make-album.exe" --files "$files" --min-size 1K --max-size 8K \
  "Z:$work/master" >/dev/null
win() { echo "Z:$1" | tr / '\\'; }

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
# run MODE CONTENDER: prints the seconds of one job (and the window's extra figures on stderr).
run() {
  local mode=$1 who=$2
  rm -rf "$work/src" "$work/tar"
  cp -al "$work/master" "$work/src"
  mkdir "$work/tar"
  if [ "$who" = cli ]; then
    local opts=()
    [ "$mode" = move ] && opts+=(--move)
    local t0 t1
    t0=$(date +%s.%N)
    wine "$build/tallowick-cli.exe" "${opts[@]}" "$(win "$work/src/")" "$(win "$work/tar/")" \
      </dev/null >/dev/null 2>&1 || true
    t1=$(date +%s.%N)
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", b - a }'
  else
    local opts=()
    [ "$mode" = move ] && opts+=(--move)
    local line
    line=$(wine "$build/tallowick-window-job.exe" "$(win "$work/src/")" "$(win "$work/tar/")" \
      "${opts[@]}" </dev/null | tr -d '\r')
    echo "  window: $line" >&2
    echo "${line%% *}"
  fi
}

# The command-line tool's time counts from its process start: take off what starting a Wine
# program costs by itself (the window's time counts from the click on its running window).
startup=$(for _ in 1 2 3; do
  t0=$(date +%s.%N)
  wine "$build/tallowick-cli.exe" --version </dev/null >/dev/null 2>&1 || true
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", b - a }'
done | median)
echo "starting a Wine program: $startup s (taken off the tool's times)"

bench() {
  for mode in copy move; do
    local cli window
    cli=$(for _ in $(seq "$reps"); do run "$mode" cli; done | median)
    cli=$(awk -v c="$cli" -v s="$startup" 'BEGIN { print c - s }')
    window=$(for _ in $(seq "$reps"); do run "$mode" window; done | median)
    printf '%s of %d files: tallowick-cli %.2f s, window %.2f s, ratio %.2f\n' "$mode" "$files" \
      "$cli" "$window" "$(awk -v w="$window" -v c="$cli" 'BEGIN { print w / c }')"
  done
}
bench
