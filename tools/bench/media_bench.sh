#!/usr/bin/env bash
# Times the media date lookup (tallowick-cli --media-dates) on a mixed tree of photos, videos
# and HEIF images: the tool with the option against the tool without it, and the date pass
# alone (tallowick-date-scan --media) against exiftool reading the same dates; then checks
# that both read the same day wherever exiftool finds one.
#
# Usage: tools/bench/media_bench.sh [--files N] [--reps R] [--work DIR]
#   --files N   generated photos and videos (default 3000), plus about N/3 copies of the
#               real sample videos and HEIF image in tests/media_samples
#   --reps R    repetitions of each timing; the median is reported (default 3)
#   --work DIR  where the tree is generated (default build/bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
files=3000 reps=3 work=$root/build/bench
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --reps) reps=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "media_bench: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake --preset linux -S "$root" >/dev/null
cmake --build "$root/build/linux" --target tallowick-cli tallowick-make-album tallowick-date-scan >/dev/null
bin=$root/build/linux
filter=jpg,peg,avi,mov,mp4,m4v,eic,eif,3gp
mkdir -p "$work"

tree=$work/media-tree-$files
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  "$bin/tallowick-make-album" --files "$files" --max-size 64000 --seed 11 "$tree/album" >/dev/null
  # Real samples under many names: as written, and under phone-style dated names.
  mapfile -t samples < <(find "$root/tests/media_samples" -type f ! -name '*.tsv')
  for ((i = 0; i * ${#samples[@]} < files / 3; i++)); do
    dir=$tree/phone/$((i % 20))
    mkdir -p "$dir"
    for s in "${samples[@]}"; do
      name=${s##*/}
      ln "$s" "$dir/${i}_$name" 2>/dev/null || cp "$s" "$dir/${i}_$name"
    done
    ln "$root/tests/media_samples/no_time.mp4" "$dir/VID_2019$(printf '%02d' $((i % 12 + 1)))15_101500_$i.mp4" 2>/dev/null ||
      cp "$root/tests/media_samples/no_time.mp4" "$dir/VID_2019$(printf '%02d' $((i % 12 + 1)))15_101500_$i.mp4"
  done
  touch "$tree.done"
fi
find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm cache

times=$work/media.times
rm -f "$times"
timed() {  # LABEL CMD...
  local label=$1 start end
  shift
  start=$EPOCHREALTIME
  # tallowick-cli exits 1 when files failed; anything else is a broken run.
  "$@" >/dev/null 2>"$work/.stderr" || [ $? -eq 1 ] || {
    echo "media_bench: $label failed:" >&2; cat "$work/.stderr" >&2; exit 1
  }
  end=$EPOCHREALTIME
  awk -v l="$label" -v a="$start" -v b="$end" 'BEGIN {printf "%s %.4f\n", l, b - a}' >>"$times"
}
median() { awk -v l="$1" '$1 == l {print $2}' "$times" | sort -n |
  awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'; }

exts=(-ext jpg -ext jpeg -ext heic -ext heif -ext avif -ext mp4 -ext mov -ext m4v -ext 3gp)
for ((r = 0; r < reps; r++)); do
  for mode in off on; do
    opt=()
    [ $mode = on ] && opt=(--media-dates)
    rm -rf "$work/media-out"; mkdir -p "$work/media-out"; sync
    timed "dry-$mode" "$bin/tallowick-cli" --dry-run --quiet "${opt[@]}" --filter "$filter" \
      --error-file "$work/errors.txt" "$tree" "$work/media-out"
    rm -rf "$work/media-out"; mkdir -p "$work/media-out"; sync
    timed "copy-$mode" "$bin/tallowick-cli" --quiet "${opt[@]}" --filter "$filter" \
      --error-file "$work/errors.txt" "$tree" "$work/media-out"
    rm -rf "$work/media-out"; sync
  done
  timed scan "$bin/tallowick-date-scan" --media "$tree"
  if command -v exiftool >/dev/null; then
    timed exiftool exiftool -q -r "${exts[@]}" -s3 -DateTimeOriginal -CreationDate -CreateDate "$tree"
  fi
done

n=$(find "$tree" -type f \( -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.heic' -o -iname '*.heif' \
  -o -iname '*.avif' -o -iname '*.mp4' -o -iname '*.mov' -o -iname '*.m4v' -o -iname '*.3gp' \) | wc -l)
echo "tree: $tree ($(find "$tree" -type f | wc -l) files, $n read by the media lookup)"
printf '%-40s %10s %8s\n' contender seconds ratio
for kind in dry copy; do
  printf '%-40s %10s\n' "tallowick-cli ($kind)" "$(median "$kind-off")"
  printf '%-40s %10s %8s\n' "tallowick-cli --media-dates ($kind)" "$(median "$kind-on")" \
    "$(ratio "$(median "$kind-on")" "$(median "$kind-off")")x"
done
printf '%-40s %10s %8s\n' "date pass (tallowick-date-scan --media)" "$(median scan)" \
  "$(awk -v n="$n" -v s="$(median scan)" 'BEGIN {printf "%.0f/s", n / s}')"
if [ -f "$times" ] && grep -q '^exiftool ' "$times"; then
  printf '%-40s %10s %8s\n' "exiftool (same dates)" "$(median exiftool)" \
    "$(awk -v n="$n" -v s="$(median exiftool)" 'BEGIN {printf "%.0f/s", n / s}')"
  echo "date pass speed-up over exiftool: $(ratio "$(median exiftool)" "$(median scan)")x"
  # The same day wherever exiftool finds one (the samples' UTC times are at noon, so the
  # local day is the UTC day here).
  exiftool -q -r "${exts[@]}" -f -d '%Y-%m-%d' \
    -p '$directory/$filename	$DateTimeOriginal	$CreationDate	$CreateDate' "$tree" 2>/dev/null |
    awk -F'\t' '{d = "-"; for (i = 2; i <= 4; i++) if ($i != "-" && $i !~ /^0000/) {d = $i; break}
                 if (d != "-") print $1 "\t" d}' | sort >"$work/media-exiftool.txt"
  "$bin/tallowick-date-scan" --media --print "$tree" 2>/dev/null | sort >"$work/media-tallowick.txt"
  both=$(join -t $'\t' "$work/media-exiftool.txt" "$work/media-tallowick.txt" | wc -l)
  differ=$(join -t $'\t' "$work/media-exiftool.txt" "$work/media-tallowick.txt" | awk -F'\t' '$2 != $3' | wc -l)
  echo "days compared with exiftool: $both files, $differ different"
fi
