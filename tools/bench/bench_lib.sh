# Helpers shared by bench.sh and share_bench.sh (sourced): generated trees, timed runs, medians,
# and the fingerprint of a tree of files. The caller sets $bin (the native build) and $work.

# make_tree N MAXSIZE -> path of a cached tree of N files of 10 KB to MAXSIZE bytes
make_tree() {
  local dir=$work/tree-$1-$2
  if [ ! -f "$dir.done" ]; then
    rm -rf "$dir"
    "$bin/tallowick-make-album" --files "$1" --max-size "$2" --seed 7 "$dir" >/dev/null
    sync
    touch "$dir.done"
  fi
  echo "$dir"
}

warm() { find "$1" -type f -print0 | xargs -0 cat >/dev/null; }

# timed LABEL CMD... : runs CMD, appends "seconds maxrss_kb" to $work/LABEL.times. Wall time
# comes from the shell's microsecond clock; /usr/bin/time gives the peak memory (of the first
# process: under Wine, of the loader).
timed() {
  local label=$1; shift
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$work/.last" "$@" >/dev/null 2>"$work/.stderr" || {
    local rc=$?
    # tallowick-cli exits 1 when files failed; anything else is a broken run.
    if [[ "$*" != *tallowick-cli* ]] || [ $rc -ne 1 ]; then
      echo "bench: $label failed ($rc):" >&2; cat "$work/.stderr" >&2; exit 1
    fi
  }
  local end=$EPOCHREALTIME
  echo "$(awk -v a="$start" -v b="$end" 'BEGIN {printf "%.4f", b - a}') $(tail -n 1 "$work/.last")" \
    >> "$work/$label.times"
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
seconds() { cut -d' ' -f1 "$work/$1.times" | median; }
peak_mb() { cut -d' ' -f2 "$work/$1.times" | sort -n | tail -n 1 | awk '{printf "%.1f", $1/1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'; }

# fingerprint DIR: "checksum  ./relative/path" of every regular file below DIR, sorted.
fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r md5sum); }

machine() {
  echo "machine: $(nproc) cores ($(lscpu | sed -n 's/^Model name: *//p' | head -n 1)), $(free -g | awk '/Mem:/ {print $2}') GiB," \
    "Linux $(uname -r), $(df -T "$work" | awk 'NR==2 {print $2}') on $(df "$work" | awk 'NR==2 {print $1}')" \
    "(rotational: $(lsblk -dno ROTA "$(df "$work" | awk 'NR==2 {print $1}')" 2>/dev/null | tr -d ' ' || echo '?'))"
  echo "load: $(uptime | sed 's/.*load average: //')"
}
