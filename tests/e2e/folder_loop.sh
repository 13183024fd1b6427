#!/usr/bin/env bash
# A folder tree with a link back into itself must still be walked to its end, each photo placed
# once, and a link to the target or into it is never followed: what is already placed stays
# where it is. Usage: folder_loop.sh [EMULATOR] CLI  (the Windows build runs the tool through
# Wine, which lists the links as folders).
set -euo pipefail
cli=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/a/b" "$work/out/2012年/2012-05-17"
printf 'not a jpeg' > "$work/src/a/b/clip.mp4"
printf 'placed before' > "$work/out/2012年/2012-05-17/x.mp4"
ln -s ../.. "$work/src/a/b/back"   # src/a/b/back -> src
ln -s ../a "$work/src/a/b/again"   # src/a/b/again -> src/a
ln -s ../../out "$work/src/a/out"  # src/a/out -> the target
# src/a/b/year -> into the target. Wine resolves no Linux link in the path it reports for a
# folder, which the Windows build climbs to see what holds it (on Windows, junctions and
# links resolve there): Linux build only.
[ $# -gt 1 ] || ln -s ../../../out/2012年 "$work/src/a/b/year"

status=0
output=$(cd "$work" && timeout 120 "${cli[@]}" src out) || status=$?
if [ $status -ne 0 ]; then
  echo "tallowick-cli exited $status:"; echo "$output"; exit 1
fi
if ! grep -q "整理文件 1 个, 失败 0 个" <<<"$output"; then
  echo "expected exactly one file placed and none failed:"; echo "$output"; exit 1
fi
placed=$(find "$work/out" -type f | wc -l)
[ "$placed" -eq 2 ] || { echo "expected 2 files in the target, found $placed"; exit 1; }
echo "1 passed, 0 failed"
