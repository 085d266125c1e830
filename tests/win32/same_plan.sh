#!/usr/bin/env bash
# ratalia --piano gives the same plan, messages and exit status on Linux and
# on Windows, under Italian and English settings.
# $1: the Linux ratalia; $2: Wine; $3: the Windows ratalia.exe.
set -uo pipefail
linux=$1 wine=$2 windows=$3
status=0
requests=(
    "--piano --capitale 10000 --mesi 24 --tasso 6,75 --csv"
    "--piano --capitale 10000 --anni 2 --tasso 6.75"
    "--piano --capitale 250000 --anni 30 --tasso 3,9 --csv"
    "--piano --capitale 12345,67 --mesi 23,6 --tasso 25 --csv"
    "--piano --capitale dieci --mesi 24 --tasso 5"
    "--piano --capitale 1000 --mesi 200000 --tasso 0,5"
    "--piano --capitale 100000 --anni 20 --tasso 3,5 --prima-rata 01/2027 --estinzione-dopo 60 --estinzione-importo 20000 --riduci durata"
    "--piano --capitale 50000 --mesi 120 --tasso 4 --ammortamento italiana --prima-rata 02/2028 --estinzione-dopo 24 --estinzione-importo tutto --penale 0,5 --csv"
    "--piano --capitale 100000 --anni 20 --tasso 3,5 --prima-rata 11/2027 --estinzione-dopo 36 --estinzione-importo 10000 --csv-annuale"
    "--piano --capitale 100000 --anni 20 --tasso 3,5 --estinzione-dopo 300 --estinzione-importo tutto"
    "--piano --capitale 15000 --mesi 48 --tasso 9 --spese-iniziali 200 --spese-annue 24 --prima-rata 03/2027 --estinzione-dopo 16 --estinzione-importo Tutto --penale 2 --tipo-credito consumo"
    "--piano --capitale 10000 --mesi 24 --tasso 5 --spese-iniziali 9990"
    "--piano --capitale 100000 --mesi 100000 --tasso 8,6 --ammortamento italiana --csv"
    "--piano --capitale 1000 --mesi 12 --tasso 5 --penale 1"
    "--version"
)
run() { # locale program… : stdout, then stderr, then the exit status, "\r" dropped
    local locale=$1 out err code
    shift
    out=$(mktemp) err=$(mktemp)
    env -u DISPLAY LC_ALL="$locale" WINEDEBUG=-all "$@" >"$out" 2>"$err"
    code=$?
    tr -d '\r' <"$out"; echo "-- stderr"; tr -d '\r' <"$err"; echo "-- status $code"
    rm -f "$out" "$err"
}
for locale in it_IT.UTF-8 en_US.UTF-8; do
    for request in "${requests[@]}"; do
        read -ra arguments <<<"$request"
        expected=$(run "$locale" "$linux" "${arguments[@]}")
        got=$(run "$locale" "$wine" "$windows" "${arguments[@]}")
        if [ "$expected" != "$got" ]; then
            echo "FAIL under $locale: ratalia $request"
            diff <(echo "$expected") <(echo "$got") | head -n 10
            # Whatever the diff cut off: what the Windows program said on standard error, and its status.
            sed -n '/^-- stderr$/,$p' <<<"$got" | head -n 10
            status=1
        fi
    done
done
# With standard output closed: the same message, with its reason, and status 3.
closed() { # program… : stderr, then the exit status
    local err code
    err=$(mktemp)
    env -u DISPLAY LC_ALL=it_IT.UTF-8 WINEDEBUG=-all "$@" --piano --capitale 1000 --mesi 12 --tasso 5 >&- 2>"$err"
    code=$?
    tr -d '\r' <"$err"; echo "-- status $code"
    rm -f "$err"
}
expected=$(closed "$linux")
got=$(closed "$wine" "$windows")
if [ "$expected" != "$got" ]; then
    echo "FAIL with standard output closed"
    diff <(echo "$expected") <(echo "$got")
    status=1
fi
[ $status -eq 0 ] && echo "${#requests[@]} requests under 2 regions and a closed output: the same on Linux and Windows"
exit $status
