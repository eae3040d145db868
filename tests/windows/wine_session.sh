#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command in one Wine session: a Wine prefix (made once, at the given path) and one Wine
# process kept alive throughout, so that every Windows program the command starts finds a running
# wineserver. Without it each program would start Wine's helpers anew, and they would outlive it
# holding its output open. The display comes first, from tests/run_with_xvfb.sh: a wineserver
# started without one cannot open windows later.
#   tests/run_with_xvfb.sh tests/windows/wine_session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
[ -n "${DISPLAY:-}" ] || { echo "wine_session: no DISPLAY (run under tests/run_with_xvfb.sh)" >&2; exit 1; }
prefix=$(realpath -m "$1") # Wine wants an absolute path
shift
scratch=$(mktemp -d)
keeper=""
cleanup() {
    if [ -n "$keeper" ]; then
        echo exit >&9 || true
        exec 9>&-
    fi
    # Ends every Wine process of the prefix, the keeper among them.
    WINEPREFIX=$prefix timeout 10 /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -n "$keeper" ] && wait "$keeper" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

if [ ! -f "$prefix/system.reg" ]; then
    echo "wine_session: making the Wine prefix $prefix (once)"
    mkdir -p "$prefix"
    "$wine" wineboot --init >/dev/null 2>&1
    # Unmanaged windows close at once; managed ones wait 2 s for a window manager that is not there.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi

# One Wine process for the whole session: cmd reading a pipe that stays open until the end.
mkfifo "$scratch/keep"
"$wine" cmd <"$scratch/keep" >/dev/null 2>&1 &
keeper=$!
exec 9>"$scratch/keep"
# Wine's services and desktop process, started now with no output to hold: started by the first
# test instead, they would keep that test's output pipe open for as long as they run.
"$wine" wineboot >/dev/null 2>&1
# A program that crashes ends at once, failing its test, instead of waiting in Wine's debugger.
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1

"$@"
