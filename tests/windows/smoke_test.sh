#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows game under Wine, checked from outside as a player would see it: the window opens
# at 800 x 600; under a French user locale its title is "Tarnwick Alpha (N,N FPS)"; holding Up
# changes the picture; Escape ends the game with status 0. Run inside tests/windows/wine_session.sh.
#   tests/windows/smoke_test.sh [--size WxH] [--save-start FILE] [--start-like FILE] path/to/tarnwick.exe
# On a scaled desktop: --size is the drawing area's size instead of 800x600; --save-start keeps the
# start view as a PNG file; --start-like checks that the start view is the one in FILE, drawn over
# the whole area at whatever size.
set -euo pipefail
expected_size=800x600
save_start=""
start_like=""
while [ $# -gt 1 ]; do
    case "$1" in
        --size) expected_size=$2; shift 2 ;;
        --save-start) save_start=$2; shift 2 ;;
        --start-like) start_like=$2; shift 2 ;;
        *) break ;;
    esac
done
exe=$1
scratch=$(mktemp -d)
game=""
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# shellcheck source=tests/support/game_window.sh
. "$(dirname "$0")/../support/game_window.sh"

# The user's locale is the session's, French, which Wine takes from LC_MESSAGES.
[ "${LC_MESSAGES:-}" = fr_FR.UTF-8 ] && [ -z "${LC_ALL:-}" ] ||
    fail "the user's locale is not French: run inside tests/windows/wine_session.sh"
# Mesa's software renderer draws on the game's own thread. Once in some forty runs under Wine the
# game faulted as it shut down, executing at an address outside any program's code: most likely
# a renderer worker thread running generated code that had already been released.
LP_NUM_THREADS=0 /usr/lib/wine/wine64 "$exe" &
game=$!

window=""
for _ in $(seq 600); do
    window=$(xdotool search --name '^Tarnwick Alpha \(' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    kill -0 "$game" 2>/dev/null || fail "the game ended before its window showed"
    sleep 0.1
done
[ -n "$window" ] || fail "no window within 60 s"

# Without a window manager Wine draws the frame itself, and the drawing area is a child X window.
read -r area size < <(xwininfo -id "$window" -tree | awk '/^ +0x[0-9a-f]+ .*[0-9]+x[0-9]+\+/ {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, s, "+"); print $1, s[1]; exit } }')
echo "drawing area: ${size:-none}"
[ "${size:-}" = "$expected_size" ] || fail "the drawing area is ${size:-missing}, not $expected_size"

title=""
for _ in $(seq 100); do
    title=$(xdotool getwindowname "$window")
    [ "$title" != "Tarnwick Alpha (0,0 FPS)" ] && [ "$title" != "Tarnwick Alpha (0.0 FPS)" ] && break
    sleep 0.1
done
echo "title: $title"
[[ "$title" =~ ^Tarnwick\ Alpha\ \([0-9]+,[0-9]\ FPS\)$ ]] || fail "the title is not written with a comma"

# Up drives the board ahead: the arena moves in the picture.
xdotool windowfocus --sync "$window" mousemove --window "$window" 400 300
sleep 0.5
import -window "$area" "$scratch/before.png"
[ -z "$save_start" ] || cp "$scratch/before.png" "$save_start"
if [ -n "$start_like" ]; then
    # A picture in a corner, or one not drawn over the whole area, differs in most pixels.
    convert "$scratch/before.png" -resize "$(identify -format '%wx%h!' "$start_like")" "$scratch/before-resized.png"
    differing=$(differing_pixels "$start_like" "$scratch/before-resized.png" 20)
    echo "start view against $start_like: $differing pixels differ"
    [ "$differing" -lt "$(identify -format '%[fx:int(w*h/50)]' "$start_like")" ] ||
        fail "the start view is not the one in $start_like over the whole area"
fi
expect_up_drives "$window" "$area" "$scratch/before.png" 0.5

# The game may be gone before the key is released: xdotool then reports the window missing.
xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
for _ in $(seq 100); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game" 2>/dev/null && fail "Escape did not end the game within 10 s"
status=0
wait "$game" || status=$?
game=""
echo "exit status: $status"
[ "$status" -eq 0 ] || fail "the game ended with status $status"
echo "passed"
