#!/usr/bin/env bash
# The Linux and Windows builds show the same result texts for the same loans.
# $1: the Linux loan_results; $2: Wine; $3: the Windows loan_results.exe.
set -euo pipefail
linux=$("$1" 3000)
windows=$("$2" "$3" 3000 | tr -d '\r')
if [ "$linux" != "$windows" ]; then
    diff <(echo "$linux") <(echo "$windows") | head -n 20
    echo "FAIL: the Windows build shows other digits" >&2
    exit 1
fi
echo "3000 loans: the same texts on Linux and Windows"
