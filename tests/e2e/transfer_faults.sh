#!/usr/bin/env bash
# The command-line tool meets a target that fills up (copy, and move from another file system)
# and a kill in the middle of a large copy. After each: every file under a final name is whole
# and equal to its source, a failure leaves no temporary behind, no source of a file that was
# not placed is gone, and a second run with room places exactly what failed the first time.
# The targets are small file systems of the test's own (tmpfs); without the right to mount
# them the test is skipped (exit 77).
# Usage: transfer_faults.sh [EMULATOR] CLI MAKE_ALBUM   (the Windows build runs through Wine)
set -euo pipefail
args=("$@")
album=${args[-1]}
unset 'args[-1]'
cli=("${args[@]}")
runner=("${args[@]:0:${#args[@]}-1}")  # the emulator alone, or nothing
# Wine programs see the Linux folders on drive Z:.
[ ${#runner[@]} -eq 0 ] && drive= || drive=Z:

work=$(mktemp -d)
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

# small_fs DIR SIZE: a tmpfs of SIZE at DIR, or a skip when it cannot be mounted.
small_fs() {
  mkdir -p "$1"
  if ! mount -t tmpfs -o "size=$2" tmpfs "$1" 2>/dev/null; then
    echo "skipped: cannot mount a small file system here (needs root): $(id -un)"
    exit 77
  fi
  mounts+=("$1")
}

# organize [--move] SRC DST: runs the tool, prints its summary's failure count.
organize() {
  local flags=("${@:1:$#-2}") source=${*: -2:1} target=${*: -1} output status=0
  output=$(timeout 300 "${cli[@]}" --quiet --error-file "$drive$work/errors.txt" "${flags[@]}" \
    "$drive$source" "$drive$target" 2>&1) || status=$?
  [ $status -le 1 ] || fail "tool exited $status: $output"
  grep -o '失败 [0-9]* 个' <<<"$output" | tail -n 1 | tr -dc 0-9
}

# Photos under their final names (not hidden from the walk), by base name.
placed() { find "$1" \( -name '.*' -o -name '~*' \) -prune -o -type f -printf '%f\n' | sort; }
hidden() { find "$1" \( -name '.*' -o -name '~*' \) -print; }

# check_placed DST ORIGINALS: each placed photo equals its original.
check_placed() {
  local name
  for name in $(placed "$1"); do
    cmp -s "$(find "$1" -name "$name" -type f)" "$2/$name" || fail "$name differs from its source"
  done
}

# A tree of twelve photos of about 400 KB, with their originals kept flat for comparing.
"${runner[@]}" "$album" --files 12 --min-size 400K --max-size 420K --seed 3 "$drive$work/tree" \
  >/dev/null
mkdir "$work/originals"
find "$work/tree" -type f -exec cp -p {} "$work/originals/" \;
total=$(find "$work/originals" -type f | wc -l)

for mode in copy move; do
  target=$work/$mode-target
  small_fs "$target" 3m
  rm -rf "$work/src" && cp -rp "$work/tree" "$work/src"  # the sources lie on another file system
  flags=()
  [ $mode = move ] && flags=(--move)

  failed=$(organize "${flags[@]}" "$work/src" "$target")
  first=$(placed "$target")
  [ "$failed" -gt 0 ] || fail "$mode: the full target refused nothing"
  [ $((total - failed)) -eq "$(grep -c . <<<"$first")" ] || fail "$mode: $failed failed, but placed: $first"
  check_placed "$target" "$work/originals"
  [ -z "$(hidden "$target")" ] || fail "$mode: left behind: $(hidden "$target")"
  if [ $mode = move ]; then
    left=$(find "$work/src" -type f -printf '%f\n' | sort)
    [ "$(sort <(echo "$first") <(echo "$left") | grep -c .)" -eq "$total" ] &&
      [ -z "$(comm -12 <(echo "$first") <(echo "$left"))" ] ||
      fail "move: sources kept are not exactly those not placed: $left"
  fi

  # With room, a second run places exactly what failed; a copy's sources placed before now
  # meet their names taken, a move's are gone.
  mount -o remount,size=32m "$target"
  again=$(organize "${flags[@]}" "$work/src" "$target")
  expected=$((total - failed))
  [ $mode = move ] && expected=0
  [ "$again" -eq $expected ] || fail "$mode: second run failed $again, not $expected"
  [ "$(placed "$target" | grep -c .)" -eq "$total" ] || fail "$mode: second run left photos out"
  check_placed "$target" "$work/originals"
  echo "$mode into a full target: $failed of $total refused, none left partial; second run placed them"
done

# A kill in the middle of copying one large photo, into a file system of its own whose use
# shows how far the copy has come.
rm -rf "$work/src" "$work/originals"
"${runner[@]}" "$album" --files 1 --min-size 300M --max-size 300M --seed 5 "$drive$work/src" \
  >/dev/null
big=$(find "$work/src" -type f)
target=$work/kill-target
small_fs "$target" 400m
used() { df --output=used "$target" | tail -n 1 | tr -dc 0-9; }
before=$(used)
"${cli[@]}" --quiet --error-file "$drive$work/errors.txt" "$drive$work/src" "$drive$target" \
  >/dev/null 2>&1 &
pid=$!
while kill -0 $pid 2>/dev/null && [ $(($(used) - before)) -lt 16384 ]; do sleep 0.005; done
kill -9 $pid 2>/dev/null || fail "the copy ended before it could be killed"
wait $pid 2>/dev/null || true
sleep 0.5  # let the file system settle what the dead process held
[ -z "$(placed "$target")" ] || fail "killed copy left under its final name: $(placed "$target")"
echo "kill mid-copy: nothing under the final name; left hidden: $(hidden "$target" | grep -c .)"
failed=$(organize "$work/src" "$target")
[ "$failed" -eq 0 ] && [ "$(placed "$target")" = "$(basename "$big")" ] ||
  fail "second run after the kill did not place the photo"
cmp -s "$(find "$target" -name "$(basename "$big")")" "$big" || fail "copy after the kill differs"
echo "passed"
