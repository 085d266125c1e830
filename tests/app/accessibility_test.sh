#!/usr/bin/env bash
# The program as a screen reader meets it: started on an X server and an
# accessibility bus of the test's own, then read over AT-SPI by
# accessibility_check.py. $1: the program.
set -u
program=$1
here=$(dirname "$0")
display=:$((RANDOM % 100 + 400))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=it_IT.UTF-8
# The session bus starts the accessibility bus when the program asks for it.
dbus-run-session -- bash -c '
    "$1" & app=$!
    /usr/bin/python3 "$2"
    status=$?
    kill "$app" 2>/dev/null
    exit $status' _ "$program" "$here/accessibility_check.py" 2> >(grep -v -e "Failed to set fd limit" -e XDG_RUNTIME_DIR >&2)
