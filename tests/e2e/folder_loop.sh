#!/usr/bin/env bash
# A folder tree with links back into itself must still be walked to its end, each photo placed
# once; a link to the target or into it is never followed, so what is already placed stays
# where it is; a link leading out of the tree is walked where it leads: a copy takes its photo,
# a move leaves it there. Usage: folder_loop.sh [EMULATOR] CLI  (the Windows build runs the
# tool through Wine, which lists a link as a folder with a reparse point).
set -euo pipefail
cli=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/a/b" "$work/out/2012年/2012-05-17" "$work/moved" "$work/outside"
printf 'not a jpeg' > "$work/src/a/b/clip.mp4"
printf 'placed before' > "$work/out/2012年/2012-05-17/x.mp4"
printf 'elsewhere' > "$work/outside/far.mp4"
ln -s ../.. "$work/src/a/b/back"        # src/a/b/back -> src
ln -s ../a "$work/src/a/b/again"        # src/a/b/again -> src/a
ln -s ../../outside "$work/src/a/away"  # src/a/away -> outside
ln -s ../../out "$work/src/a/out"       # src/a/out -> the target of the copy
# src/a/b/year -> into that target. Wine resolves no Linux link in the path it reports for a
# folder, which the Windows build climbs to see what holds it (on Windows, junctions and
# links resolve there): Linux build only.
[ $# -gt 1 ] || ln -s ../../../out/2012年 "$work/src/a/b/year"

# Runs the tool with ARGS, expecting exit status STATUS and the summary line SUMMARY.
run() {
  local status=$1 summary=$2 code=0
  shift 2
  output=$(cd "$work" && timeout 120 "${cli[@]}" "$@" 2>&1) || code=$?
  if [ $code -ne "$status" ] || ! grep -q "$summary" <<<"$output"; then
    echo "tallowick-cli $* exited $code, expected $status and \"$summary\":"; echo "$output"; exit 1
  fi
}
files() { find "$work/$1" -type f | wc -l; }

# The copy: clip.mp4 and, through the link out, far.mp4; nothing of the target again.
run 0 "整理文件 2 个, 失败 0 个" src out
[ "$(files out)" -eq 3 ] || { echo "expected 3 files in the target, found $(files out)"; exit 1; }
# The move into another target: far.mp4 stays where the link leads, and so do the first
# target's files, which the links now lead to as to any folder outside.
rm "$work/src/a/out" "$work/src/a/b/year" 2>/dev/null || true
run 1 "整理文件 2 个, 失败 1 个" --move src moved
grep -q "已拒绝, 文件不在照片目录内: .*far.mp4" <<<"$output" || { echo "$output"; exit 1; }
[ "$(files moved)" -eq 1 ] && [ -f "$work/outside/far.mp4" ] && [ ! -e "$work/src/a/b/clip.mp4" ] ||
  { echo "the move took the wrong files:"; find "$work" -type f; exit 1; }
echo "4 passed, 0 failed"
