#!/usr/bin/env bash
# The Windows plan window's files against the Linux program's: the CSV of a
# few plans (costs, the Italian plan and an early repayment among them) and
# of two offers compared, byte for byte, and a 120-row plan, a dated one and
# the comparison printed to Wine's PostScript file printer, read back as text.
# $1: the Linux ratalia; $2: Wine, or scripts/lib/wine32; $3: win32_window_tests.exe.
set -u
linux=$1 wine=$2 tests=$3
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
# The folder as the program sees it: Wine's Z: is the root, or the 32-bit
# Wine's own tree, which sees this machine's files under /host.
if [ "$(basename "$wine")" = wine32 ]; then
    windows_folder=$("$wine" --windows-path "$folder")
else
    windows_folder="Z:${folder//\//\\}"
fi
RATALIA_PLAN_FILES=$windows_folder WINEDEBUG=-all bash "$(dirname "$0")/on_display.sh" 1280x1024x24 "$wine" "$tests" \
    --gtest_filter='Win32PlanFilesTest.*' >"$folder/run.log" 2>&1 || { tail -n 30 "$folder/run.log"; fail "the Windows tests"; }

plans=(
    "plain.csv --capitale 10000 --mesi 24 --tasso 6,75"
    "costs.csv --capitale 150000 --mesi 300 --tasso 3,2 --spese-iniziali 1200 --spese-rata 2,50 --spese-annue 35"
    "italian.csv --capitale 200000 --mesi 240 --tasso 6 --spese-iniziali 4000 --ammortamento italiana"
    "italian-costs.csv --capitale 10000 --mesi 24 --tasso 6,75 --spese-rata 3 --spese-annue 30 --ammortamento italiana"
    "repaid.csv --capitale 100000 --mesi 240 --tasso 3,5 --prima-rata 01/2027 --estinzione-dopo 60 --estinzione-importo 20000 --riduci durata"
)
for plan in "${plans[@]}"; do
    read -ra words <<<"$plan"
    file=${words[0]}
    env -u DISPLAY LC_ALL=it_IT.UTF-8 "$linux" --piano "${words[@]:1}" --csv >"$folder/linux-$file"
    if cmp -s "$folder/linux-$file" "$folder/$file"; then
        echo "same bytes: $file ($(wc -l <"$folder/$file") lines)"
    else
        fail "$file differs from the Linux program's"
        diff <(head -n 5 "$folder/linux-$file") <(head -n 5 "$folder/$file")
    fi
done

# Two offers compared: the CSV the Linux program's, byte for byte; the printout with the TAEG of each.
env -u DISPLAY LC_ALL=it_IT.UTF-8 "$linux" --confronta "$folder/confronto-a.ratalia" "$folder/confronto-b.ratalia" \
    --csv >"$folder/linux-confronto.csv"
if cmp -s "$folder/linux-confronto.csv" "$folder/confronto.csv"; then
    echo "same bytes: confronto.csv ($(wc -l <"$folder/confronto.csv") lines)"
else
    fail "the comparison's CSV differs from the Linux program's"
    diff "$folder/linux-confronto.csv" "$folder/confronto.csv"
fi
if ps2pdf "$folder/confronto.ps" "$folder/confronto.pdf" &&
    pdftotext -layout "$folder/confronto.pdf" "$folder/confronto.txt"; then
    grep -q 'Confronto delle offerte' "$folder/confronto.txt" || fail "the comparison's printout has no title"
    # The TAEG row as the Linux program states it.
    IFS=';' read -r _ taeg_a taeg_b < <(grep '^TAEG;' "$folder/linux-confronto.csv")
    grep -Eq "^TAEG +$taeg_a +$taeg_b\$" "$folder/confronto.txt" || fail "the comparison's printout has no TAEG row"
else
    fail "the comparison's PostScript printout could not be read"
fi

# The printout: three pages, each with its number, the table's header on
# each page the table runs over, the first and the last rows, the totals.
if ps2pdf "$folder/piano.ps" "$folder/piano.pdf" && pdftotext -layout "$folder/piano.pdf" "$folder/piano.txt"; then
    pages=$(grep -c $'\f' "$folder/piano.txt")
    [ "$pages" -eq 3 ] || fail "the printout has $pages pages, not 3"
    for k in 1 2 3; do
        page=$(awk -v k="$k" 'BEGIN { RS = "\f" } NR == k' "$folder/piano.txt")
        grep -q "Pagina $k di 3" <<<"$page" || fail "page $k has no 'Pagina $k di 3'"
        if [ "$k" -lt 3 ]; then
            grep -Eq 'N\. +Rata +Interessi +Quota capitale +Debito residuo' <<<"$page" || fail "page $k has no header"
        fi
    done
    grep -Eq '^ +1 +287,06 +140,63 +146,43 +24\.853,57$' "$folder/piano.txt" || fail "no first row"
    grep -Eq '^ +120 +287,07 +1,61 +285,46 +0,00$' "$folder/piano.txt" || fail "no last row"
    grep -Eq 'Totale rate: +34\.447,21' "$folder/piano.txt" || fail "no totals"
    echo "printout: $pages pages"
else
    fail "the PostScript printout could not be read"
fi

# A dated plan with an early repayment: its figures, the row that repays,
# and the yearly totals after the plan's totals.
if ps2pdf "$folder/repaid.ps" "$folder/repaid.pdf" && pdftotext -layout "$folder/repaid.pdf" "$folder/repaid.txt"; then
    grep -Eq 'Fine del prestito: +con la rata 187 \(lug 2042\) anziché la 240 \(dic 2046\)' "$folder/repaid.txt" ||
        fail "the printout does not say where the loan now ends"
    grep -Eq '^ +60 +dic 2031 +579,96 +237,62 +342,34 +20\.000,00 +20\.579,96 +61\.126,54$' "$folder/repaid.txt" ||
        fail "no row with the repayment"
    grep -q 'Totali per anno' "$folder/repaid.txt" || fail "no yearly totals"
    grep -Eq '^ +2031 +12 +2\.916,49 +4\.043,03 +20\.000,00 +61\.126,54$' "$folder/repaid.txt" || fail "no year 2031"
    echo "dated printout: $(grep -c $'\f' "$folder/repaid.txt") pages"
else
    fail "the dated PostScript printout could not be read"
fi
exit $status
