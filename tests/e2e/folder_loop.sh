#!/usr/bin/env bash
# A folder tree with a link back into itself must still be walked to its end, each photo placed
# once. Usage: folder_loop.sh [EMULATOR] CLI  (the Windows build runs the tool through Wine,
# which lists the link as a folder).
set -euo pipefail
cli=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/a/b" "$work/out"
printf 'not a jpeg' > "$work/src/a/b/clip.mp4"
ln -s ../.. "$work/src/a/b/back"   # src/a/b/back -> src
ln -s ../a "$work/src/a/b/again"   # src/a/b/again -> src/a

status=0
output=$(cd "$work" && timeout 120 "${cli[@]}" src out) || status=$?
if [ $status -ne 0 ]; then
  echo "tallowick-cli exited $status:"; echo "$output"; exit 1
fi
if ! grep -q "整理文件 1 个, 失败 0 个" <<<"$output"; then
  echo "expected exactly one file placed and none failed:"; echo "$output"; exit 1
fi
placed=$(find "$work/out" -type f | wc -l)
[ "$placed" -eq 1 ] || { echo "expected 1 file in the target, found $placed"; exit 1; }
echo "1 passed, 0 failed"
