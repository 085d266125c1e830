#!/usr/bin/env bash
# Two builds show the same result texts for the same loans: the 64-bit Linux
# one and another, run under its emulator (Wine for Windows, qemu-i386 for
# 32-bit Linux). $1: the 64-bit loan_results; $2: the emulator; $3: the other
# build's loan_results.
set -euo pipefail
linux=$("$1" 3000)
windows=$("$2" "$3" 3000 | tr -d '\r')
if [ "$linux" != "$windows" ]; then
    diff <(echo "$linux") <(echo "$windows") | head -n 20
    echo "FAIL: the other build shows other digits" >&2
    exit 1
fi
echo "3000 loans: the same texts in both builds"
