#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command in one Wine session: a Wine prefix (made once, at the given path) and one Wine
# process kept alive throughout, so that every Windows program the command starts finds a running
# wineserver. Without it each program would start Wine's helpers anew, and they would outlive it
# holding its output open. Every program of the session has one user locale, French. The display
# comes first, from tests/run_with_xvfb.sh: a wineserver started without one cannot open windows
# later.
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
# Wine's menu builder adds the shortcuts that programs make in the prefix to the desktop's menus:
# to the session's own folders, not to this machine's.
export XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config

# One user locale, French, for every Windows program of the session, as a Windows user's programs
# share the user's: Wine keeps one record of the user's regional settings in the registry and
# rewrites it for each program that starts under another user locale (Wine takes it from
# LC_MESSAGES) than the record's, and a program reads its decimal separator from the record when
# it first asks, the game once its window is open, a second after it started. A program started
# meanwhile under another locale (a driver host Wine starts, one an installer leaves running)
# would decide the game's separator. Built here, without root.
localedef -i fr_FR -f UTF-8 "$scratch/fr_FR.UTF-8" 2>/dev/null || [ -f "$scratch/fr_FR.UTF-8/LC_MESSAGES/SYS_LC_MESSAGES" ] ||
    { echo "wine_session: cannot build the fr_FR.UTF-8 locale" >&2; exit 1; }
unset LC_ALL
export LOCPATH=$scratch
{ export LC_MESSAGES=fr_FR.UTF-8; } 2>/dev/null # this shell itself looks for it without LOCPATH

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
