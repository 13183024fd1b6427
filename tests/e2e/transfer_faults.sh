#!/usr/bin/env bash
# The command-line tool meets faults: a full target, a file-size limit, a kill or Ctrl+C in the
# middle of a large copy or move. After each, every file under a final name equals its source,
# no source of a file not placed is gone, each failure is counted and listed, the exit status
# says so, Ctrl+C stops after the files in hand with the status of an interrupted program, and a
# second run places the rest and leaves no temporary. Only the full targets need file systems of
# their own (tmpfs, mounted as root).
# Usage: [FAULT_JOBS=N] transfer_faults.sh [EMULATOR] CLI MAKE_ALBUM   (the Windows build runs
# through Wine; the tool places FAULT_JOBS files at once, default 1)
set -euo pipefail
args=("$@")
album=${args[-1]}
unset 'args[-1]'
cli=("${args[@]}")
runner=("${args[@]:0:${#args[@]}-1}") # the emulator alone, or nothing
[ ${#runner[@]} -eq 0 ] && drive= || drive=Z:
# The status of a job stopped by Ctrl+C: 128 + SIGINT; Wine passes on the low byte of Windows'
# STATUS_CONTROL_C_EXIT (0xC000013A).
[ -z "$drive" ] && interrupted=130 || interrupted=$((0x3A))
jobs=${FAULT_JOBS:-1}

work=$(mktemp -d)
mounts=() other='' pid=''
cleanup() {
  [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
  for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null || true; done
  rm -rf "$work" ${other:+"$other"}
}
trap cleanup EXIT
fail() { echo "FAILED: $*" && exit 1; }
small_fs() { # DIR SIZE: a tmpfs of our own; false without the right to mount one
  mkdir -p "$1" && mount -t tmpfs -o size="$2" tmpfs "$1" 2>/dev/null && mounts+=("$1"); }
mkfifo "$work/never" && exec {never}<>"$work/never" # read -t on it pauses without a process

placed() { find "$1" \( -name '.*' -o -name '~*' \) -prune -o -type f -printf '%f\n' | sort; }
hidden() { find "$1" -mindepth 1 \( -name '.*' -o -name '~*' \) -print; }
count() { placed "$1" | grep -c . || true; }

start() {
  local limit=$1 n=$(($# - 2))
  shift
  (
    [ "$limit" = - ] || ulimit -f "$limit"
    trap '' XFSZ # a write past the limit fails instead of ending the tool
    exec "${cli[@]}" --quiet --jobs "$jobs" --error-file "$drive$work/errors.txt" "${@:1:n-1}" \
      "$drive${*: -2:1}" "$drive${*: -1}"
  ) >"$work/out" 2>&1 &
  pid=$!
}
finish() {
  status=0 files='' failed=''
  wait "$pid" || status=$?
  pid=
  read -r files failed < <(grep -o '整理文件 [0-9]* 个, 失败 [0-9]* 个' "$work/out" |
    tail -n 1 | tr -c '0-9\n' ' ') || true
  [ -n "$failed" ] || fail "no summary (exit $status): $(cat "$work/out")"
}
organize() { start "$@" && finish; }

# check ORIGINALS SRC DST MODE [listed]: each placed file equals its original; each original is
# still in SRC unchanged (and in the failure list if "listed"), or gone after a move and placed;
# a move kept no source of a placed file.
check() {
  local original name source
  for original in "$1"/*; do
    name=${original##*/} source=$(find "$2" -name "${original##*/}" -type f)
    if placed "$3" | grep -qx "$name"; then
      cmp -s "$(find "$3" -name "$name" -type f)" "$original" || fail "$name differs from source"
      [ "$4" = copy ] || [ -z "$source" ] || fail "move: $name placed, yet its source is kept"
    else
      [ -n "$source" ] || fail "$4: $name neither placed nor left in the source"
      [ -z "${5:-}" ] || grep -qiF "$name" "$work/errors.txt" || fail "$name failed, not listed"
    fi
    [ -z "$source" ] || cmp -s "$source" "$original" || fail "source $name changed"
  done
}

"${runner[@]}" "$album" --files 12 --min-size 400K --max-size 420K --seed 3 "$drive$work/photos" \
  >/dev/null 2>&1 # the first Wine program: services it starts then hold no pipe of the test
mkdir -p "$work/photo-originals" "$work/videos" "$work/video-originals"
find "$work/photos" -type f -exec cp -p {} "$work/photo-originals/" \;
for name in big1.mp4 big2.mp4; do
  head -c 100M /dev/urandom >"$work/videos/$name"
  cp -p "$work/videos/$name" "$work/video-originals/"
done
big=$(stat -c %s "$work/videos/big1.mp4")

# The target fills up, a small file system (a move's sources lie on another one), or the tool
# may write no file over 410 KB: some photos fail. A second run without the fault places them;
# a copy's sources placed before now meet their names taken, a move's are gone.
for row in "copy full" "move full" "copy limit"; do
  read -r mode fault <<<"$row"
  target=$work/$mode-$fault limit=- flags=()
  [ "$mode" = move ] && flags=(--move)
  if [ "$fault" = full ]; then
    small_fs "$target" 3m || { echo "skipped: $row (cannot mount a file system)" && continue; }
  else
    mkdir "$target" && limit=410
  fi
  rm -rf "$work/src" && cp -rp "$work/photos" "$work/src"
  organize "$limit" "${flags[@]}" "$work/src" "$target"
  first=$failed
  [ "$failed" -gt 0 ] && [ "$files" -eq 12 ] && [ "$(count "$target")" -eq $((12 - failed)) ] &&
    [ "$status" -eq 1 ] && [ "$(grep -c '文件失败' "$work/errors.txt")" -eq "$failed" ] ||
    fail "$row: exit $status, $failed of $files failed, listed: $(cat "$work/errors.txt")"
  check "$work/photo-originals" "$work/src" "$target" "$mode" listed
  [ -z "$(hidden "$target")" ] || fail "$row: left behind: $(hidden "$target")"
  [ "$fault" = limit ] || mount -o remount,size=32m "$target"
  organize - "${flags[@]}" "$work/src" "$target"
  [ "$failed" -eq "$([ "$mode" = move ] && echo 0 || echo $((12 - first)))" ] &&
    [ "$(count "$target")" -eq 12 ] || fail "$row: second run failed $failed"
  check "$work/photo-originals" "$work/src" "$target" "$mode"
  echo "$row: $first of 12 refused and listed, none left partial; a second run placed them"
done

# stop_mid_file DIR: lets the running tool go on in steps of about 2 ms until it writes a file
# of 8 MB or more into DIR, and leaves it stopped there, that file still partial.
stop_mid_file() {
  local deadline=$((SECONDS + 60)) && size=0
  kill -STOP "$pid"
  while [ "${size:-0}" -lt 8388608 ] && [ $SECONDS -lt $deadline ]; do
    kill -CONT "$pid" && read -rt 0.002 -u "$never" || true
    kill -STOP "$pid" 2>/dev/null || fail "the tool ended before a large file: $(cat "$work/out")"
    while read -r _ _ state _ <"/proc/$pid/stat" && [[ $state != [TZ] ]]; do :; done
    size=$(find "/proc/$pid/fd" -lname "$1/*" -exec stat -L -c %s {} + 2>/dev/null | sort -n |
      tail -n 1)
  done
  [ "${size:-0}" -ge 8388608 ] && [ "$size" -lt "$big" ] || fail "not stopped mid-file: $size bytes"
}

# A kill, a Ctrl+C or a write to the video in hand while the first of the two videos is copied,
# or moved to another file system (/dev/shm, or a tmpfs of the test's own); with several files
# at once the second is usually in hand too. A Ctrl+C lets the videos in hand finish and begins
# nothing after; a kill leaves nothing of it under its name, and a second run places both videos
# and removes the temporary of the killed copy (Windows; on Linux the copy has no name until it
# is complete). A video still being written (a recorder, a sync program appending to it) fails
# and stays whole where it is; the other is placed.
if [ "$(stat -c %d /dev/shm 2>/dev/null)" != "$(stat -c %d "$work")" ] && [ -w /dev/shm ] &&
  [ "$(df --output=avail -k /dev/shm | tail -n 1)" -gt 1000000 ]; then
  other=$(mktemp -d -p /dev/shm)
elif small_fs "$work/other" 1g; then
  other=$work/other
fi
for row in "kill copy" "ctrl-c copy" "write copy" "kill move" "ctrl-c move" "write move"; do
  read -r signal mode <<<"$row"
  target=$work/$signal-$mode source=$work/videos flags=()
  if [ "$mode" = move ]; then
    [ -n "$other" ] || { echo "skipped: $row (no second file system)" && continue; }
    target=$other/$signal source=$work/src flags=(--move)
    rm -rf "$source" && cp -rp "$work/videos" "$source"
  fi
  mkdir -p "$target"
  start - "${flags[@]}" "$source" "$target"
  stop_mid_file "$target"
  if [ "$signal" = kill ]; then
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    check "$work/video-originals" "$source" "$target" "$mode"
    left=$(hidden "$target" | grep -c . || true)
    organize - "${flags[@]}" "$source" "$target"
    [ "$status" -eq 0 ] && [ "$files" -eq 2 ] && [ "$(count "$target")" -eq 2 ] ||
      fail "$row: the second run did not place both videos: $(cat "$work/out")"
    echo "$row: killed at $size of $big bytes ($left left hidden); a second run placed both"
  elif [ "$signal" = write ]; then
    video=$(find "/proc/$pid/fd" -lname "$source/*" -printf '%l\n' | head -n 1)
    printf 'written since' >>"$video" && kill -CONT "$pid"
    finish
    [ "$status" -eq 1 ] && [ "$failed" -eq 1 ] && [ "$files" -eq 2 ] &&
      [ "$(count "$target")" -eq 1 ] && [ "$(tail -c 13 "$video")" = 'written since' ] ||
      fail "$row: exit $status, summary $files/$failed, placed: $(placed "$target")"
    truncate -s "$big" "$video" # as it was, for the checks below
    echo "$row: written to at $size of $big bytes; that video failed and stayed, the other placed"
  else
    kill -INT "$pid" && kill -CONT "$pid"
    finish
    # One worker has only the first video in hand; with several, the second one is in hand
    # too unless its worker had not yet begun it when stopped.
    in_hand=$(count "$target")
    [ "$status" -eq "$interrupted" ] && [ "$failed" -eq 0 ] && [ "$files" -eq "$in_hand" ] &&
      [ "$in_hand" -ge 1 ] && [ "$in_hand" -le "$([ "$jobs" -gt 1 ] && echo 2 || echo 1)" ] &&
      grep -q '已停止: 其余文件没有处理' "$work/out" ||
      fail "$row: exit $status, summary $files/$failed, placed: $(placed "$target")"
    echo "$row: stopped at $size of $big bytes; the $in_hand in hand finished, nothing begun after"
  fi
  check "$work/video-originals" "$source" "$target" "$mode"
  [ -z "$(hidden "$target")" ] || fail "$row: left behind: $(hidden "$target")"
done
echo "passed"
