# Shared by the packaging tests, sourced with the build folder and the
# application id as $1 and $2: a scratch folder that goes away on exit, and
# the files a desktop needs, below the install prefix.
build=$1
APP_ID=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
expected_files=(
    bin/ratalia
    "share/applications/$APP_ID.desktop"
    "share/metainfo/$APP_ID.metainfo.xml"
    "share/mime/packages/$APP_ID.xml"
    "share/icons/hicolor/16x16/apps/$APP_ID.png"
    "share/icons/hicolor/32x32/apps/$APP_ID.png"
    "share/icons/hicolor/48x48/apps/$APP_ID.png"
    "share/icons/hicolor/128x128/apps/$APP_ID.png"
    "share/icons/hicolor/scalable/apps/$APP_ID.svg"
    lib/ratalia/libratalia-printing.so
)
