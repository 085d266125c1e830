#!/usr/bin/env bash
# The installer carries both programs, the 64-bit one and the 32-bit one, and
# is itself a 32-bit program, so that it starts on every Windows. Both are
# stored as ratalia.exe: 7z keeps the second beside the first, renamed.
# $1: the installer; $2: the 64-bit ratalia.exe; $3: the 32-bit one.
set -u
setup=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
file "$setup" | grep -q 'PE32 executable.*Intel 80386' || fail "the installer is not a 32-bit program: $(file -b "$setup")"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
7z x -aou -o"$scratch" "$setup" >/dev/null || fail "7z cannot open the installer"
found=0
for program in "$2" "$3"; do
    match=$(find "$scratch" -type f -name '*.exe' -exec cmp -s "$program" {} \; -print | head -n 1)
    [ -n "$match" ] || fail "the installer does not hold $(file -b "$program" | cut -d, -f1) $program"
    found=$((found + 1))
done
echo "the installer is a 32-bit program holding both programs ($found)"
