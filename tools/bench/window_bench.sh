#!/usr/bin/env bash
# The same organize job from the window and from the command-line tool, both under Wine:
# a tree of small photos (default 20,000) copied, then moved, each contender three times on a
# fresh target (and, for moves, a fresh source made of hard links to one master tree), the
# contenders taking turns. The tool runs with its output to a console (a pseudo-terminal),
# to a file and to the null device; with --compare, another build of it does too.
# Prints the median seconds of each and the tool's ratio to the window; for the window also
# the longest time it took to answer a message during the job and whether a drag moved it.
# Usage: tools/bench/window_bench.sh [--files N] [--reps R] [--compare OTHER.exe]
#        (Windows build must exist)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# Every Wine program of the run, the first included, must see the same X display.
[ -n "${DISPLAY:-}" ] || exec "$root/tools/with-xvfb.sh" "$0" "$@"
build=$root/build/windows
files=20000 reps=3 other=
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --compare) other=$(realpath "$2"); shift 2 ;;
    *) echo "usage: $0 [--files N] [--reps R] [--compare OTHER.exe]" >&2; exit 2 ;;
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
# CONTENDER: window, or TOOL-OUTPUT with TOOL new or old and OUTPUT console, file or null.
run() {
  local mode=$1 who=$2
  rm -rf "$work/src" "$work/tar" "$work/out.txt"
  cp -al "$work/master" "$work/src"
  mkdir "$work/tar"
  sync  # the last run's writes would otherwise still go to disk during this one
  local opts=()
  [ "$mode" = move ] && opts+=(--move)
  if [ "$who" = window ]; then
    local line
    line=$(wine "$build/tallowick-window-job.exe" "$(win "$work/src/")" "$(win "$work/tar/")" \
      "${opts[@]}" </dev/null | tr -d '\r')
    echo "  window: $line" >&2
    echo "${line%% *}"
    return
  fi
  local exe=$build/tallowick-cli.exe
  [ "${who%-*}" = old ] && exe=$other
  local args=("$exe" "${opts[@]}" "$(win "$work/src/")" "$(win "$work/tar/")")
  local t0 t1
  t0=$(date +%s.%N)
  case ${who#*-} in
    console) script -qec "wine $(printf '%q ' "${args[@]}")" /dev/null </dev/null >/dev/null 2>&1 ;;
    file) wine "${args[@]}" </dev/null >"$work/out.txt" 2>&1 ;;
    null) wine "${args[@]}" </dev/null >/dev/null 2>&1 ;;
  esac || true
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" -v s="$startup" 'BEGIN { printf "%.3f\n", b - a - s }'
}

# The command-line tool's time counts from its process start: take off what starting a Wine
# program costs by itself (the window's time counts from the click on its running window).
startup=0
startup=$(for _ in 1 2 3; do
  t0=$(date +%s.%N)
  wine "$build/tallowick-cli.exe" --version </dev/null >/dev/null 2>&1 || true
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", b - a }'
done | median)
echo "starting a Wine program: $startup s (taken off the tool's times)"

contenders=(window new-console new-file new-null)
[ -n "$other" ] && contenders+=(old-console old-file old-null)
for mode in copy move; do
  declare -A times=()
  for _ in $(seq "$reps"); do
    for who in "${contenders[@]}"; do
      times[$who]+="$(run "$mode" "$who") "
    done
  done
  window=$(tr ' ' '\n' <<<"${times[window]}" | grep . | median)
  printf '%s of %d files: window %.2f s\n' "$mode" "$files" "$window"
  for who in "${contenders[@]:1}"; do
    t=$(tr ' ' '\n' <<<"${times[$who]}" | grep . | median)
    printf '  tallowick-cli %-12s %6.2f s  %.2f x the window  (runs: %s)\n' "$who" "$t" \
      "$(awk -v w="$window" -v c="$t" 'BEGIN { print c / w }')" "${times[$who]}"
  done
  unset times
done
