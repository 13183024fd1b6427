#!/usr/bin/env bash
# Builds every fuzz target tests/fuzz/<name>_fuzz.cpp with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (clang-14) and runs each one.
#   tools/fuzz.sh                    a short pass: 60 seconds shared by all targets
#   tools/fuzz.sh --seconds 3600     a long pass: an hour shared by all targets
#   tools/fuzz.sh --runs 1000000     a fixed number of inputs per target
#   tools/fuzz.sh --coverage         replays each corpus and reports the lines of the readers run
#   tools/fuzz.sh ... NAME...        only these targets
# Seeds: tests/fuzz/corpus/<name>/, the regression inputs tests/fuzz/regressions/<name>/, and
# the folders listed in tests/fuzz/<name>.samples (one per line, relative to the repository).
# New inputs collect in build/fuzz/corpus/<name>/; an input that crashes, hangs or leaks is
# saved in build/fuzz/artifacts/<name>/ and the script fails. Keep each such input as a small
# named file in tests/fuzz/regressions/<name>/: every pass replays all seeds before it mutates.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/fuzz
mode=seconds budget=60 runs=0 names=()
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) mode=seconds budget=$2; shift ;;
    --runs) mode=runs runs=$2; shift ;;
    --coverage) mode=coverage ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) names+=("$1") ;;
  esac
  shift
done
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/fuzz/*_fuzz.cpp; do names+=("$(basename "$f" _fuzz.cpp)"); done
fi

cxx=clang++-14
# The symbolizer names the functions and lines of a report and of the coverage listing.
export PATH=/usr/lib/llvm-14/bin:$PATH
common=(-std=c++20 -g -O1 -Isrc -fno-omit-frame-pointer)
sanitize=-fsanitize=address,undefined
# The code under test: the metadata readers and the platform layer they read through.
library=()
for f in src/metadata/*.cpp src/platform/*.cpp; do
  [[ $f == *_win32.cpp ]] || library+=("$f")
done
mkdir -p "$out"

build() {  # NAME: the fuzz target, rebuilt when a source is newer
  local exe=$out/$1_fuzz
  if [ -x "$exe" ] && [ -z "$(find src/metadata src/platform tests/fuzz/$1_fuzz.cpp -newer "$exe" -name '*.[ch]*' | head -1)" ]; then
    return
  fi
  echo "fuzz: building $1"
  $cxx "${common[@]}" "$sanitize",fuzzer "tests/fuzz/$1_fuzz.cpp" "${library[@]}" -lz -o "$exe"
}

seed_folders() {  # NAME: every folder of seeds of the target
  local folders=()
  [ -d "tests/fuzz/corpus/$1" ] && folders+=("$root/tests/fuzz/corpus/$1")
  [ -d "tests/fuzz/regressions/$1" ] && folders+=("$root/tests/fuzz/regressions/$1")
  if [ -f "tests/fuzz/$1.samples" ]; then
    while read -r folder; do
      [ -n "$folder" ] && [ -d "$folder" ] && folders+=("$root/$folder")
    done <"tests/fuzz/$1.samples"
  fi
  echo "${folders[@]}"
}

status=0
for name in "${names[@]}"; do
  build "$name"
  mkdir -p "$out/corpus/$name" "$out/artifacts/$name"
  # shellcheck disable=SC2046
  seeds=($(seed_folders "$name"))
  args=(-artifact_prefix="$out/artifacts/$name/" -timeout=10 -rss_limit_mb=2048 -max_len=65536)
  [ -f "tests/fuzz/$name.dict" ] && args+=(-dict="tests/fuzz/$name.dict")
  case $mode in
    seconds) args+=(-max_total_time=$((budget / ${#names[@]})) -print_final_stats=1) ;;
    runs) args+=(-runs="$runs" -print_final_stats=1) ;;
    coverage) args+=(-runs=0) ;;
  esac
  echo "== fuzz $name"
  log=$out/$name.log
  if ! "$out/${name}_fuzz" "${args[@]}" "$out/corpus/$name" "${seeds[@]}" >"$log" 2>&1; then
    status=1
    echo "fuzz: $name FAILED, see $log and $out/artifacts/$name/"
    tail -40 "$log"
    continue
  fi
  if [ "$mode" = coverage ]; then
    # Line coverage of the code under test, from a replay of the whole corpus.
    $cxx "${common[@]}" -fsanitize=fuzzer -fprofile-instr-generate -fcoverage-mapping \
      "tests/fuzz/${name}_fuzz.cpp" "${library[@]}" -lz -o "$out/${name}_cov"
    LLVM_PROFILE_FILE="$out/$name.profraw" "$out/${name}_cov" -runs=0 "$out/corpus/$name" "${seeds[@]}" >/dev/null 2>&1
    llvm-profdata merge -sparse "$out/$name.profraw" -o "$out/$name.profdata"
    llvm-cov report "$out/${name}_cov" -instr-profile="$out/$name.profdata" src/metadata | sed -n '1,/^TOTAL/p'
  else
    grep -E '^(#[0-9]+ *DONE|Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss|stat::new_units_added)' "$log" || tail -3 "$log"
  fi
done
exit $status
