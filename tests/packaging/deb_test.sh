#!/usr/bin/env bash
# Builds the Debian package and checks its file list and computed dependencies.
# $1: build folder; $2: application id.
set -euo pipefail
build=$1
APP_ID=$2
source "$(dirname "$0")/expected_files.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
echo "package: $(basename "$deb")"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
status=0
for file in "${expected_files[@]}"; do
    grep -q " ./usr/$file\$" <<<"$contents" || { echo "MISSING from the package: /usr/$file"; status=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || { echo "Qt's libraries are missing from Depends"; status=1; }
grep -q 'qt6-qpa-plugins' <<<"$depends" || { echo "the window system plugins are missing from Depends"; status=1; }
exit $status
