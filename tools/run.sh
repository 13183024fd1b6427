#!/usr/bin/env bash
# Sets up what is missing, builds the command-line tool and organizes a folder.
#   tools/run.sh                           a demo album made here (build/demo/相册) into build/demo/整理结果
#   tools/run.sh [OPTIONS] SOURCE TARGET   your own folders; OPTIONS as in tallowick-cli --help
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" native
cmake --preset linux -S "$root" >/dev/null
cmake --build "$root/build/linux" --target tallowick-cli tallowick-make-album >/dev/null
cli=$root/build/linux/tallowick-cli

if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi

demo=$root/build/demo
rm -rf "$demo"
"$root/build/linux/tallowick-make-album" --demo "$demo/相册"
mkdir -p "$demo/整理结果"
status=0
"$cli" --error-file "$demo/errorFile.txt" "$demo/相册" "$demo/整理结果" || status=$?
echo
echo "整理结果 ($demo/整理结果):"
(cd "$demo/整理结果" && find . -type f | sort | sed 's|^\./|  |')
# The demo album holds one name clash on purpose, so one failed file (status 1) is expected.
[ $status -le 1 ] || exit $status
