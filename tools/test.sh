#!/usr/bin/env bash
# Sets up what is missing, builds both targets and runs every test: natively, natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, the organize, command-line and log tests
# under ThreadSanitizer, a minute of fuzzing, and the Windows build under Wine (windows on
# Xvfb; screenshots go to build/windows/screenshots and window-shots).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

# Warnings are errors in CI.
extra=()
[ "${CI:-}" = true ] && extra+=(-DTALLOWICK_WERROR=ON)

# The ThreadSanitizer preset builds and runs only the tests whose code runs threads.
for preset in linux linux-asan linux-tsan; do
  echo "== $preset"
  cmake --preset "$preset" "${extra[@]}" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The camera-format builders that the tests rely on, read back by exiftool.
tools/check_builders.sh build/linux

# A short fuzzing pass over the file readers (the long one: tools/fuzz.sh --seconds 3600).
tools/fuzz.sh --seconds 60

echo "== windows (under Wine)"
cmake --preset windows "${extra[@]}" >/dev/null
cmake --build --preset windows
# Wine needs a UTF-8 locale to give files Chinese names.
export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  LC_ALL=C.UTF-8
tools/wine-prefix.sh "$WINEPREFIX"
# One persistent Wine server for the whole run: each program then starts in a fraction of a second.
wineserver -k 2>/dev/null || true  # a server left over from an earlier run
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# The first Wine program starts Wine's background services, which would inherit its output
# pipe and keep CTest waiting for it to close: start them here, away from any test. Windows and
# dialogs need an X display (TALLOWICK_DISPLAY, or a free one), and Wine's desktop keeps the
# display it started on, so the services start on it too.
# A window test that drives a real pointer and keyboard (CTest label "pointer") can lose an
# event to Wine's timing: only those get one more run, while a real fault fails both. Every
# other test runs once.
tools/with-xvfb.sh bash -c 'wine cmd /c exit </dev/null >/dev/null 2>&1
  status=0
  ctest --preset windows --label-exclude pointer || status=1
  ctest --preset windows --label-regex pointer --repeat until-pass:2 || status=1
  exit $status'
