#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks that every file stands where
# the desktop looks for it, and that the desktop entry and the metainfo pass
# their validators, and that a program installed beside ratalia finds the
# printing module. $1: build folder; $2: application id; $3: window_tests.
set -euo pipefail
source "$(dirname "$0")/packaging_common.sh"

DESTDIR="$scratch" cmake --install "$build" --prefix /usr >/dev/null
status=0
for file in "${expected_files[@]}"; do
    if [ -s "$scratch/usr/$file" ]; then echo "ok: /usr/$file"; else echo "MISSING: /usr/$file"; status=1; fi
done
[ -x "$scratch/usr/bin/ratalia" ] || { echo "ratalia is not executable"; status=1; }
for size in 16 32 48 128; do
    file "$scratch/usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png" | grep -q "$size x $size" ||
        { echo "the ${size}x${size} icon has another size"; status=1; }
done

# The printing module, found from where the program stands.
cp "$3" "$scratch/usr/bin/window_tests"
QT_QPA_PLATFORM=offscreen "$scratch/usr/bin/window_tests" --gtest_filter='PrintingModuleTest.*' >/dev/null ||
    { echo "the installed program does not find the printing module"; status=1; }

echo "desktop-file-validate:"
desktop-file-validate "$scratch/usr/share/applications/$APP_ID.desktop" || status=1
echo "appstreamcli validate --no-net:"
appstreamcli validate --no-net "$scratch/usr/share/metainfo/$APP_ID.metainfo.xml" || status=1
# The type of the files of offers reads, and a file of offers is of it by its name and by its first line.
echo "update-mime-database:"
update-mime-database "$scratch/usr/share/mime" || status=1
[ -s "$scratch/usr/share/mime/application/x-ratalia-offerte.xml" ] ||
    { echo "no type for the files of offers"; status=1; }
grep -q '^application/x-ratalia-offerte:\*\.ratalia$' "$scratch/usr/share/mime/globs" ||
    { echo "*.ratalia is not a file of offers"; status=1; }
grep -q '^MimeType=application/x-ratalia-offerte;$' "$scratch/usr/share/applications/$APP_ID.desktop" ||
    { echo "the desktop entry opens no file of offers"; status=1; }
exit $status
