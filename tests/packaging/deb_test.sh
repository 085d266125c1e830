#!/usr/bin/env bash
# Builds the Debian package and checks its file list and computed dependencies.
# $1: build folder; $2: application id.
set -euo pipefail
source "$(dirname "$0")/packaging_common.sh"

(cd "$build" && cpack -G DEB -B "$scratch" >/dev/null)
deb=$(ls "$scratch"/*.deb)
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
grep -q 'libqt6printsupport6' <<<"$depends" || { echo "the printing module's library is missing from Depends"; status=1; }
exit $status
