#!/usr/bin/env bash
# The installer under Wine, in a Wine prefix of its own: a silent install puts
# the program, its Start-menu shortcut and its entry in the installed programs
# in place for the current user; the program starts; a silent uninstall takes
# all of it away. $1: Wine; $2: the installer.
set -uo pipefail
wine=$1
setup=$2
export WINEPREFIX=$(mktemp -d) WINEDEBUG=-all
wineserver=$(dirname "$wine")/wineserver64
[ -x "$wineserver" ] || wineserver=wineserver
trap '"$wineserver" -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$wine" "$setup" /S || fail "the silent install exited $?"
"$wineserver" -w
program=$(find "$WINEPREFIX/drive_c/users" -path '*AppData/Local/Programs/Ratalia/ratalia.exe' | head -n 1)
[ -n "$program" ] || fail "no ratalia.exe under AppData\\Local\\Programs\\Ratalia"
folder=$(dirname "$program")
for file in Disinstalla.exe README.md LICENSE.txt; do
    [ -f "$folder/$file" ] || fail "$file is missing"
done
find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/Ratalia.lnk' | grep -q . || fail "no Start-menu shortcut"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ratalia'
"$wine" reg query "$key" /v UninstallString 2>/dev/null | grep -q 'Disinstalla.exe' ||
    fail "no entry in the installed programs"
# Files of offers open in it.
command=$("$wine" reg query 'HKCU\Software\Classes\Ratalia.Offerte\shell\open\command' /ve 2>/dev/null | tr -d '\r')
"$wine" reg query 'HKCU\Software\Classes\.ratalia' /ve 2>/dev/null | grep -q 'Ratalia.Offerte' ||
    fail "the .ratalia extension is not associated"
grep -q 'ratalia.exe" "%1"' <<<"$command" || fail "no command opens a file of offers: $command"
echo "installed in ${folder#$WINEPREFIX/}"
"$wineserver" -w # the next start opens the desktop on the X server

# It starts and keeps running until it is closed.
timeout 15 xvfb-run -a "$wine" "$program"
status=$?
[ "$status" -eq 124 ] || fail "the installed program did not keep running (status $status)"
"$wineserver" -k 2>/dev/null; "$wineserver" -w

"$wine" "$folder/Disinstalla.exe" /S || fail "the silent uninstall exited $?"
"$wineserver" -w
for i in $(seq 1 20); do [ -e "$program" ] || break; sleep 1; done
[ ! -e "$folder" ] || fail "the program's folder is still there: $(ls "$folder")"
find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/Ratalia.lnk' | grep -q . && fail "the shortcut is still there"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "the entry is still in the installed programs"
for class in .ratalia Ratalia.Offerte; do
    "$wine" reg query "HKCU\\Software\\Classes\\$class" >/dev/null 2>&1 && fail "the association $class is still there"
done
echo "uninstalled: nothing left"
