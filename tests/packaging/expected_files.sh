# The files a desktop needs, below the install prefix; sourced with APP_ID set.
expected_files=(
    bin/ratalia
    "share/applications/$APP_ID.desktop"
    "share/metainfo/$APP_ID.metainfo.xml"
    "share/icons/hicolor/16x16/apps/$APP_ID.png"
    "share/icons/hicolor/32x32/apps/$APP_ID.png"
    "share/icons/hicolor/48x48/apps/$APP_ID.png"
    "share/icons/hicolor/128x128/apps/$APP_ID.png"
    "share/icons/hicolor/scalable/apps/$APP_ID.svg"
)
