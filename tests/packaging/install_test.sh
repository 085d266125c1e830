#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks that every file stands where
# the desktop looks for it, and that the desktop entry and the metainfo pass
# their validators. $1: build folder; $2: application id.
set -euo pipefail
build=$1
APP_ID=$2
source "$(dirname "$0")/expected_files.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
status=0
for file in "${expected_files[@]}"; do
    if [ -s "$root/usr/$file" ]; then echo "ok: /usr/$file"; else echo "MISSING: /usr/$file"; status=1; fi
done
[ -x "$root/usr/bin/ratalia" ] || { echo "ratalia is not executable"; status=1; }
for size in 16 32 48 128; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png" | grep -q "$size x $size" ||
        { echo "the ${size}x${size} icon has another size"; status=1; }
done

echo "desktop-file-validate:"
desktop-file-validate "$root/usr/share/applications/$APP_ID.desktop" || status=1
echo "appstreamcli validate --no-net:"
appstreamcli validate --no-net "$root/usr/share/metainfo/$APP_ID.metainfo.xml" || status=1
exit $status
