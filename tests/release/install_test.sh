#!/usr/bin/env bash
# The setup program as a user meets it, in a fresh Wine prefix of its own: a silent install,
# the installed window program started, an upgrade over it, a silent uninstall. Also the
# portable zip's contents. Needs an X display ($DISPLAY, as tools/test.sh provides).
# Usage: install_test.sh SETUP.exe PORTABLE.zip VERSION BUILD_DIR
set -euo pipefail
setup=$1 zip=$2 version=$3 build=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "install_test: needs an X display (run it through tools/test.sh)" >&2
  exit 1
fi

failures=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1" >&2; failures=$((failures + 1)); fi
}

# The portable zip: one folder with both programs, the read-me, the licence and the notices.
# (That it registers nothing is checked below, in a prefix with the setup's entries gone.)
listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
folder=Tallowick-$version
expected="$folder/ $folder/LICENSE.txt $folder/THIRD-PARTY-NOTICES.txt $folder/Tallowick.exe"
expected+=" $folder/readme.txt $folder/tallowick-cli.exe "
check "zip holds $expected" test "$listing" = "$expected"

# A fresh prefix and a home of its own, so no shortcut or menu entry reaches the real desktop.
export WINEPREFIX=$build/install-prefix HOME=$build/install-home WINEDEBUG=-all LC_ALL=C.UTF-8 \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME"
"$root/tools/wine-prefix.sh" "$WINEPREFIX"
shots=$build/release-shots
mkdir -p "$shots"

profile=$WINEPREFIX/drive_c/users/$(id -un)
app=$profile/AppData/Local/Programs/Tallowick
menu=$profile/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/拾光整理
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowick'
run() { wine "$@" </dev/null >/dev/null 2>&1; wineserver -w; }
# The uninstall entry as exported by the registry tool (its console output loses Chinese text);
# entry NAME then gives one value: a text unquoted, a number as 0x....
export_entry() {
  local file=$WINEPREFIX/drive_c/entry.reg
  rm -f "$file"
  wine reg export "$key" 'C:\entry.reg' /y >/dev/null 2>&1 || true
  if [ -f "$file" ]; then iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'; fi >"$HOME/entry.txt"
}
entry() {
  sed -n "s/^\"$1\"=//p" "$HOME/entry.txt" |
    sed -e 's/^"\(.*\)"$/\1/' -e 's/\\\\/\\/g' -e 's/^dword:/0x/'
}
# The Explorer entries: each key of ROOT\Software\Classes\{Directory,Drive}\shell that runs
# Tallowick.exe, as "KIND: TEXT | COMMAND" lines (nothing when there is none).
explorer_entries() {
  local kind root=${1:-HKCU} file=$WINEPREFIX/drive_c/verbs.reg
  for kind in Directory Drive; do
    rm -f "$file"
    wine reg export "$root\\Software\\Classes\\$kind\\shell" 'C:\verbs.reg' /y >/dev/null 2>&1 || true
    [ -f "$file" ] || continue
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | awk -v kind="$kind" '
      function text(v) { v = substr(v, 2, length(v) - 2); gsub(/\\"/, "\"", v); gsub(/\\\\/, "\\", v); return v }
      /^\[/ { key = $0 }
      /^@=/ { value[key] = text(substr($0, 3)) }
      END { for (k in value) if (k ~ /\\command\]$/ && value[k] ~ /Tallowick\.exe/) {
              verb = k; sub(/\\command\]$/, "]", verb); print kind ": " value[verb] " | " value[k] } }'
  done
}

run "$setup" /S
for file in Tallowick.exe tallowick-cli.exe Uninstall.exe LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  check "installed $file" test -f "$app/$file"
done
check "Start-menu shortcut" test -f "$menu/拾光整理.lnk"
check "Start-menu uninstall shortcut" test -f "$menu/卸载 拾光整理.lnk"
check "desktop shortcut" test -f "$profile/Desktop/拾光整理.lnk"
export_entry
check "uninstall entry: name" test "$(entry DisplayName)" = 拾光整理
check "uninstall entry: version" test "$(entry DisplayVersion)" = "$version"
check "uninstall entry: publisher" test "$(entry Publisher)" = "Tallowick 工作室"
windows_app='C:\users\'"$(id -un)"'\AppData\Local\Programs\Tallowick'
check "uninstall entry: icon" test "$(entry DisplayIcon)" = "$windows_app\Tallowick.exe,0"
size_kb=$(($(entry EstimatedSize)))
program_kb=$((($(stat -c %s "$app/Tallowick.exe" "$app/tallowick-cli.exe" | paste -sd+)) / 1024))
check "uninstall entry: size $size_kb KB covers the programs ($program_kb KB)" \
  test "$size_kb" -ge "$program_kb"

# The Explorer entry on folders and drives, for this user, starting the installed program with
# the folder right-clicked.
expected_entries="Directory: 用拾光整理照片 | \"$windows_app\\Tallowick.exe\" \"%1\"
Drive: 用拾光整理照片 | \"$windows_app\\Tallowick.exe\" \"%1\""
check "Explorer entries on folders and drives: $(explorer_entries)" \
  test "$(explorer_entries)" = "$expected_entries"
check "no Explorer entry for all users" test -z "$(explorer_entries HKLM)"

# The one version: the installed command-line tool reports the version the setup program has.
cli_version=$(wine "$app/tallowick-cli.exe" --version </dev/null 2>&1 | tr -d '\r')
check "installed tallowick-cli --version ($cli_version) says $version" \
  grep -qE "(^|[^0-9.])${version//./\\.}([^0-9.]|\$)" <<<"$cli_version"

# The installed window program, started from the Start-menu shortcut as a user would, shows its
# window, and on closing keeps its settings in its own folder.
wine start /unix "$menu/拾光整理.lnk" </dev/null >/dev/null 2>&1
window=$(timeout 60 xdotool search --sync --onlyvisible --classname tallowick | head -n 1) || true
check "the Start-menu shortcut starts Tallowick.exe, which shows its window" test -n "$window"
import -window root "$shots/installed-window.png"
wine taskkill /im Tallowick.exe >/dev/null 2>&1 || true
check "Tallowick.exe closed when asked" timeout 30 wineserver -w
wineserver -k 2>/dev/null || true
check "the program kept Config.ini in its folder" test -f "$app/Config.ini"

# An upgrade keeps the user's settings.
printf '[Brindlemark]\r\nPathSrc=D:\\照片\\\r\nIsClassifyByYear=0\r\n' >"$app/Config.ini"
before=$(md5sum <"$app/Config.ini")
run "$setup" /S
check "upgrade kept Config.ini" test "$(md5sum <"$app/Config.ini")" = "$before"
check "upgrade left the programs" test -f "$app/Tallowick.exe" -a -f "$app/tallowick-cli.exe"
check "upgrade kept one Explorer entry each: $(explorer_entries)" \
  test "$(explorer_entries)" = "$expected_entries"

# A silent uninstall removes programs, shortcuts and entry and keeps the settings. The
# uninstaller relaunches itself from a temporary copy: wineserver -w waits for that too.
echo "error list" >"$app/errorFile.txt"
mkdir -p "$app/journal" && echo "folder x end" >"$app/journal/2026-12-07_103015.txt"
run "$app/Uninstall.exe" /S
check "uninstall removed the programs, kept only the user's files" \
  test "$(ls "$app" | sort | tr '\n' ' ')" = "Config.ini errorFile.txt journal "
check "uninstall removed the Start-menu folder" test ! -e "$menu"
check "uninstall removed the desktop shortcut" test ! -e "$profile/Desktop/拾光整理.lnk"
export_entry
check "uninstall removed the uninstall entry" test -z "$(entry DisplayName)"
check "uninstall removed the Explorer entries" test -z "$(explorer_entries)"

# The portable program, unpacked and run, leaves the registry without entries.
unzip -q "$zip" -d "$WINEPREFIX/drive_c/portable"
wine start /unix "$WINEPREFIX/drive_c/portable/$folder/Tallowick.exe" </dev/null >/dev/null 2>&1
window=$(timeout 60 xdotool search --sync --onlyvisible --classname tallowick | head -n 1) || true
check "the portable Tallowick.exe shows its window" test -n "$window"
wine taskkill /im Tallowick.exe >/dev/null 2>&1 || true
timeout 30 wineserver -w || true
check "the portable program added no Explorer entry" test -z "$(explorer_entries)"

# Install once more into the kept folder: the settings are found again.
run "$setup" /S
check "reinstall found the kept Config.ini" test "$(md5sum <"$app/Config.ini")" = "$before"

wineserver -k 2>/dev/null || true
[ "$failures" -eq 0 ] || { echo "install_test: $failures checks failed" >&2; exit 1; }
echo "install_test: all checks passed"
