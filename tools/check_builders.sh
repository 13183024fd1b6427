#!/usr/bin/env bash
# Checks that the camera-format builders write what the formats are: one file of each
# (tallowick-make-album --camera) is read by exiftool, the independent reader, and by the
# media date lookup (tallowick-date-scan --media); both must find each file's own day. An AVI
# without a date of its own takes the day of the .THM beside it.
#   tools/check_builders.sh [BUILD_DIR]     (default build/linux; needs exiftool)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/linux}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/tallowick-make-album" --camera "$work/files"
tail -n +2 "$work/files/dates.tsv" | sort >"$work/want"
(cd "$work/files" && exiftool -q -q -f -d '%Y-%m-%d' -p '$FileName	$DateTimeOriginal' \
  $(cut -f1 "$work/want")) | sort >"$work/exiftool"
# An AVI that the list does not name stands for the .THM beside it.
"$bin/tallowick-date-scan" --media --print "$work/files" 2>/dev/null | sed "s|^$work/files/||" |
  awk -F'\t' 'NR == FNR {listed[$1] = 1; next}
    {if (!($1 in listed)) sub(/\.AVI$/, ".THM", $1); print $1 "\t" $2}' "$work/want" - |
  sort >"$work/scan"
status=0
if ! diff -u "$work/want" "$work/exiftool"; then
  echo "check_builders: exiftool reads other days than the builders wrote (above)" >&2
  status=1
fi
if ! diff -u "$work/want" "$work/scan"; then
  echo "check_builders: the date lookup reads other days than the builders wrote (above)" >&2
  status=1
fi
[ $status -eq 0 ] && echo "check_builders: $(wc -l <"$work/want") files, exiftool and the lookup read the days written"
exit $status
