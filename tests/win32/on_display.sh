#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X server of its own, in a
# Wine session of its own. Wine opens one desktop per session, on the display
# of the session's first program: a session left by a program run without a
# display would keep this one's windows from opening, and a session that
# outlived this X server would hand the next program a desktop whose display
# is gone. So it waits for any earlier session to end, and ends its own while
# the display is still there.
# $1: the screen (WIDTHxHEIGHTxDEPTH); $2: Wine, or scripts/lib/wine32; then
# the program and its arguments. The program's exit status is this script's.
set -u
if [ "${1:-}" = --inside ]; then
    inside=1
    shift
fi
screen=$1 wine=$2
shift 2
end_session() {
    if [ "$(basename "$wine")" = wine32 ]; then
        "$wine" --wine wineserver -w 2>/dev/null
    else
        local wineserver
        wineserver=$(dirname "$wine")/wineserver64
        [ -x "$wineserver" ] || wineserver=wineserver
        "$wineserver" -w 2>/dev/null
    fi
    return 0
}
if [ -n "${inside:-}" ]; then
    "$wine" "$@"
    status=$?
    end_session
    exit $status
fi
end_session
exec xvfb-run -a -s "-screen 0 $screen" bash "$0" --inside "$screen" "$wine" "$@"
