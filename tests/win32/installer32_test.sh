#!/usr/bin/env bash
# The installer, a 32-bit program, under the 32-bit Wine: in a Wine prefix
# that is 32-bit Windows through and through it installs the 32-bit
# ratalia.exe, in a 64-bit one the 64-bit ratalia.exe; either way the
# installed program starts and keeps running, and a silent uninstall leaves
# nothing behind. $1: scripts/lib/wine32; $2: the installer.
set -uo pipefail
wine32=$1
setup=$2
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

# install ARCH EXPECTED: one prefix of its own, made by the installer's first start.
install_on() {
    local arch=$1 expected=$2 top program folder kind
    top=$(mktemp -d)
    export WINE32_PREFIX=$top/prefix WINEDEBUG=-all
    if [ "$arch" = win32 ]; then export WINEARCH=win32; else unset WINEARCH; fi
    local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ratalia'
    (
        set -e
        trap '"$wine32" --wine wineserver -k 2>/dev/null' EXIT
        "$wine32" "$setup" /S || { echo "FAIL: $arch: the silent install exited $?" >&2; exit 1; }
        "$wine32" --wine wineserver -w
        program=$(find "$WINE32_PREFIX/drive_c/users" -path '*AppData/Local/Programs/Ratalia/ratalia.exe' | head -n 1)
        [ -n "$program" ] || { echo "FAIL: $arch: no ratalia.exe under AppData\\Local\\Programs\\Ratalia" >&2; exit 1; }
        folder=$(dirname "$program")
        kind=$(file -b "$program")
        [[ $kind == "$expected"* ]] || { echo "FAIL: $arch: the installed program is $kind" >&2; exit 1; }
        for file in Disinstalla.exe README.md LICENSE.txt; do
            [ -f "$folder/$file" ] || { echo "FAIL: $arch: $file is missing" >&2; exit 1; }
        done
        find "$WINE32_PREFIX/drive_c/users" -path '*Start Menu/Programs/Ratalia.lnk' | grep -q . ||
            { echo "FAIL: $arch: no Start-menu shortcut" >&2; exit 1; }
        "$wine32" --wine wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'Disinstalla.exe' ||
            { echo "FAIL: $arch: no entry in the installed programs" >&2; exit 1; }
        echo "$arch: installed ${kind%%,*} in ${folder#"$WINE32_PREFIX"/}"
        "$wine32" --wine wineserver -w # the next start opens the desktop on the X server

        # It starts and keeps running until it is closed.
        code=0
        timeout 20 xvfb-run -a "$wine32" "$program" || code=$?
        [ "$code" -eq 124 ] || { echo "FAIL: $arch: the installed program did not keep running ($code)" >&2; exit 1; }
        "$wine32" --wine wineserver -k 2>/dev/null
        "$wine32" --wine wineserver -w

        "$wine32" "$folder/Disinstalla.exe" /S || { echo "FAIL: $arch: the silent uninstall exited $?" >&2; exit 1; }
        "$wine32" --wine wineserver -w
        for _ in $(seq 1 20); do [ -e "$program" ] || break; sleep 1; done
        [ ! -e "$folder" ] || { echo "FAIL: $arch: the folder is still there: $(ls "$folder")" >&2; exit 1; }
        ! find "$WINE32_PREFIX/drive_c/users" -path '*Start Menu/Programs/Ratalia.lnk' | grep -q . ||
            { echo "FAIL: $arch: the shortcut is still there" >&2; exit 1; }
        ! "$wine32" --wine wine reg query "$key" >/dev/null 2>&1 ||
            { echo "FAIL: $arch: the entry is still in the installed programs" >&2; exit 1; }
        echo "$arch: uninstalled, nothing left"
    ) || status=1
    rm -rf "$top"
}

install_on win32 "PE32 executable (GUI) Intel 80386"
install_on win64 "PE32+ executable (GUI) x86-64"
exit $status
