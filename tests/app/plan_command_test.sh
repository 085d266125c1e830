#!/usr/bin/env bash
# ratalia --piano as a script meets it: no display, the region's separators,
# the plan on standard output, one message and status 2 for bad input, status 3
# and nothing written where the output does not fit.
# $1: the program.
set -u
program=$1
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
plan() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

csv=$(plan LC_ALL=it_IT.UTF-8 "$program" --piano --capitale 10000 --mesi 24 --tasso 6,75 --csv) || fail "exit status $?"
echo "$csv"
# Amounts to cents by dropping the comma: the sums are exact.
summary=$(awk -F';' 'NR == 1 { header = $0 } NR > 1 { rows++; gsub(",", "", $4); principal += $4 }
                     NR == 2 { first = $3 } END { print header "|" rows "|" principal "|" first "|" $5 }' <<<"$csv")
[ "$summary" = "N.;Rata;Interessi;Quota capitale;Debito residuo|24|1000000|56,25|0,00" ] || fail "Italian CSV: $summary"

# Under English settings the decimal point is "." and the fields are split by ",".
line=$(plan LC_ALL=en_US.UTF-8 "$program" --piano --capitale 10000 --anni 2 --tasso 6.75 --csv | sed -n 2p)
[ "$line" = "1,446.59,56.25,390.34,9609.66" ] || fail "English CSV: $line"

# The aligned table groups thousands.
table=$(plan LC_ALL=it_IT.UTF-8 "$program" --piano --capitale 10000 --mesi 24 --tasso 6,75)
grep -q '^ 1  446,59      56,25          390,34        9.609,66$' <<<"$table" || fail "table: $table"

errors=$(plan LC_ALL=it_IT.UTF-8 "$program" --piano --capitale dieci --mesi 24 --tasso 6,75 2>&1 >/dev/null)
[ $? -eq 2 ] || fail "bad input: status is not 2"
[ "$errors" = "ratalia: --capitale «dieci»: Sono stati inseriti uno o più dati errati" ] || fail "bad input: $errors"

plan "$program" --help | grep -q -- '--piano' || fail "--help"

# A word the program does not know is no reason to open the window.
for word in pippo -x; do
    errors=$(plan "$program" "$word" 2>&1 >/dev/null)
    code=$?
    [ $code -eq 2 ] || fail "$word: status $code"
    grep -q '^Uso: ratalia' <<<"$errors" || fail "$word: no usage: $errors"
done
plan "$program" -h | grep -q '^Uso: ratalia' || fail "-h"
[ "$(plan "$program" -v)" = "$(plan "$program" --version)" ] || fail "-v"

# Output that cannot be written: one line on standard error, status 3, and
# no part of a file left where the whole did not fit.
for request in "--help" "--version" "--piano --capitale 10000 --mesi 24 --tasso 6,75 --csv"; do
    # shellcheck disable=SC2086
    errors=$(plan LC_ALL=it_IT.UTF-8 "$program" $request 2>&1 >/dev/full)
    code=$?
    [ $code -eq 3 ] || fail "$request to /dev/full: status $code"
    [ "$(wc -l <<<"$errors")" -eq 1 ] && grep -q 'impossibile scrivere il risultato: lo spazio sul disco è esaurito' \
        <<<"$errors" || fail "$request to /dev/full: $errors"
done
# A reader that stops early: status 3 and how much went out, not death by SIGPIPE.
stderr_file=$(mktemp)
plan LC_ALL=it_IT.UTF-8 "$program" --piano --capitale 10000 --mesi 100000 --tasso 0 2>"$stderr_file" | head -n 1 >/dev/null
code=${PIPESTATUS[0]}
errors=$(cat "$stderr_file")
rm -f "$stderr_file"
[ "$code" -eq 3 ] || fail "closed pipe: status $code"
grep -q "^ratalia: impossibile scrivere tutto il risultato: l'uscita è chiusa; ne sono stati scritti [0-9]* byte su [0-9]*\.$" \
    <<<"$errors" || fail "closed pipe: $errors"
# A 64 KB file system, mounted for the test alone, holds no 12 000-row CSV.
source "$(dirname "$0")/../support/small_disk.sh"
full=$(mktemp -d)
code=0
outcome=$(on_small_disk "$full" '
    env -u DISPLAY LC_ALL=it_IT.UTF-8 "$2" --piano --capitale 12000000 --mesi 12000 --tasso 0 --csv >"$1/piano.csv" 2>"$1/errors"
    echo "status $? size $(stat -c %s "$1/piano.csv") $(cat "$1/errors")"' "$program") || code=$?
rmdir "$full"
if [ $code -eq 77 ]; then
    echo "skipped the full file system: none can be mounted here" >&2
else
    case $outcome in
        "status 3 size 0 ratalia: impossibile scrivere il risultato: lo spazio sul disco è esaurito"*) ;;
        *) fail "full file system: $outcome" ;;
    esac
fi
# Offers saved on a full file system: status 3, one message, and the file
# that was there is as it was, with nothing left beside it.
full=$(mktemp -d)
code=0
outcome=$(on_small_disk "$full" '
    disk=$1 program=$2
    save() { env -u DISPLAY LC_ALL=it_IT.UTF-8 "$program" --salva "$disk/offerte.ratalia" --capitale 10000 --mesi 24 "$@"; }
    save --tasso 6 --nome A >/dev/null || echo "first save failed"
    before=$(cat "$disk/offerte.ratalia")
    head -c 1000000 /dev/zero >"$disk/filler" 2>/dev/null
    errors=$(save --tasso 5 --nome B 2>&1 >/dev/null)
    echo "status $? same $([ "$(cat "$disk/offerte.ratalia")" = "$before" ] && echo yes) files $(ls "$disk" | tr "\n" " ")$errors"' "$program") || code=$?
rmdir "$full"
if [ $code -eq 77 ]; then
    echo "skipped the full file system for offers: none can be mounted here" >&2
else
    case $outcome in
        "status 3 same yes files filler offerte.ratalia ratalia: Impossibile salvare le offerte in"*) ;;
        *) fail "offers on a full file system: $outcome" ;;
    esac
fi
exit $status
