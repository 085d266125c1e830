#!/usr/bin/env bash
# Each Windows program imports only libraries every Windows has, so that the
# .exe runs alone, without a DLL of the compiler's beside it.
# $@: the programs (PE files, 64- or 32-bit).
set -u
system="ADVAPI32.DLL COMCTL32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL OLEACC.DLL OLEAUT32.DLL SHELL32.DLL USER32.DLL WINSPOOL.DRV"
status=0
for program in "$@"; do
    [ -f "$program" ] || { echo "FAIL: no $program"; status=1; continue; }
    imports=$(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ { print toupper($3) }' | sort -u)
    [ -n "$imports" ] || { echo "FAIL: $program imports nothing at all?"; status=1; }
    for dll in $imports; do
        [[ " $system " == *" $dll "* ]] || { echo "FAIL: $program imports $dll"; status=1; }
    done
    echo "$(basename "$(dirname "$program")")/$(basename "$program"): $(echo $imports)"
done
exit $status
