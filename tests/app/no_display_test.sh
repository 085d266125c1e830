#!/usr/bin/env bash
# ratalia started where no window can be opened ends with a message and a
# non-zero status, never with a crash. $1: the program; $2: a display name,
# or "none" for no display at all.
set -u
program=$1
if [ "$2" = none ]; then
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
else
    output=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$2" "$program" 2>&1)
fi
status=$?
echo "$output"
echo "exit status: $status"
if [ "$status" -eq 0 ] || [ "$status" -ge 128 ]; then
    echo "FAIL: expected a clean non-zero exit" >&2
    exit 1
fi
grep -q '^ratalia: .*impossibile aprire la finestra' <<<"$output" || { echo "FAIL: no message for the user" >&2; exit 1; }
