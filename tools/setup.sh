#!/usr/bin/env bash
# Installs the Debian packages Tallowick needs, only those that are missing, and prepares the
# Wine prefix of the Windows build.
#   tools/setup.sh          everything: native build, Windows cross build, Wine, Xvfb, benchmarks,
#                           fuzzing
#   tools/setup.sh native   only what the native build and the command-line tool need
set -euo pipefail
cd "$(dirname "$0")/.."

native=(g++ cmake ninja-build libgtest-dev zlib1g-dev)
windows=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev googletest wine wine64
         xvfb xauth xdotool imagemagick fonts-wqy-zenhei fonts-arphic-uming nsis zip unzip)
bench=(libimage-exiftool-perl time rclone fuse3 libfuse3-dev pkg-config)
fuzz=(clang-14 libclang-rt-14-dev llvm-14)

wanted=("${native[@]}")
if [ "${1:-all}" != native ]; then
  wanted+=("${windows[@]}" "${bench[@]}" "${fuzz[@]}")
fi

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q >/dev/null
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ "${1:-all}" != native ]; then
  tools/wine-prefix.sh build/windows/wineprefix
fi
