#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real game natively on Wayland, under a private headless sway (pixman renderer), checked from
# outside as a desktop sees it: on a seat with no keyboard it runs; a keyboard added later works at
# once, letters by its layout; the window's app_id is the desktop entry's id; on a hidden
# workspace it commits no frame and idles and, shown again, shows the current view and runs flat
# out; on an output scaled to 150 % the window stays 800 x 600 of the desktop's units, drawn at the
# output's own pixels (1200 x 900); a close request ends it with status 0 and a lost compositor
# with status 1 and one line. Run under tests/run_with_sway.sh, on an output of 1920 x 1440.
#   tests/wayland/wayland_test.sh path/to/tarnwick path/to/virtual_keyboard
set -euo pipefail
game=$1
keyboard=$2
scratch=$(mktemp -d)
game_pid=""
cleanup() {
    exec 3>&-
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
[ -n "${SWAYSOCK:-}" ] && [ -n "${SWAY_PID:-}" ] || fail "run under tests/run_with_sway.sh"

# $@: settings for the game's environment (NAME=value).
start_game() {
    env "$@" "$game" 2>"$scratch/errors" &
    game_pid=$!
    for _ in $(seq 100); do
        view >/dev/null && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window showed"
        sleep 0.1
    done
    fail "the game's window did not show within 10 s"
}
# The game's view in sway's tree, as JSON; fails while there is none.
view() { swaymsg -t get_tree | jq -e --argjson pid "$game_pid" '.. | objects | select(.pid? == $pid)'; }
title() { view | jq -r .name; }
# The frame rate the title shows, as a whole number.
title_fps() { title | sed -nE 's/^Tarnwick Alpha \(([0-9]+)[.,][0-9] FPS\)$/\1/p'; }
screenshot() { # $1: file
    local rect
    rect=$(view | jq -r '.rect | "\(.x),\(.y) \(.width)x\(.height)"')
    grim -g "$rect" "$1"
}
# shellcheck source=tests/support/game_window.sh
. "$(dirname "$0")/../support/game_window.sh"
# Waits up to $1 s for the game to end, and sets status to its exit status, or "running".
wait_for_exit() {
    status=running
    for _ in $(seq "$(($1 * 10))"); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            status=0
            wait "$game_pid" || status=$?
            game_pid=""
            return
        fi
        sleep 0.1
    done
}
# The frames the game has committed to the compositor so far, from libwayland's log of its requests.
commits() { grep -c 'wl_surface#[0-9]*\.commit(' "$scratch/errors" || true; }
# The size of each buffer attached to the window's surface from line $1 of that log on, one a line.
attached_sizes() {
    awk -v from="$1" '
        match($0, /get_xdg_surface\(new id xdg_surface#[0-9]+, wl_surface#[0-9]+/) {
            surface = substr($0, RSTART, RLENGTH); sub(/.*, /, "", surface) }
        /create_buffer\(new id wl_buffer#/ {
            line = $0; sub(/.*create_buffer\(new id /, "", line); split(line, b, ", "); size[b[1]] = b[3] "x" b[4] }
        NR >= from && surface != "" && index($0, surface ".attach(wl_buffer#") {
            buffer = $0; sub(/.*attach\(/, "", buffer); sub(/,.*/, "", buffer); print size[buffer] }
    ' "$scratch/errors"
}

[ "$(swaymsg -t get_seats | jq '.[0].capabilities')" = 0 ] || fail "the seat has input devices"

echo "== A seat without a keyboard"
start_game WAYLAND_DEBUG=client
sleep 2
if ! kill -0 "$game_pid" 2>/dev/null; then
    wait_for_exit 1
    fail "the game ended on a seat without a keyboard, with status $status"
fi
echo "title: $(title)"
[ -n "$(title_fps)" ] || fail "the title is not the frame rate"

echo "== The desktop knows it"
app_id=$(view | jq -r .app_id)
echo "app_id: $app_id"
[ "$app_id" = org.tarnwick.TarnwickAlpha ] || fail "the app_id is $app_id"

echo "== A French keyboard added while playing"
xkbcli compile-keymap --layout fr >"$scratch/fr.xkb"
exec 3> >("$keyboard" "$scratch/fr.xkb" >"$scratch/keyboard.out")
sleep 0.5
key() { echo "$1 $2" >&3; }
# Holds a key for $2 s, then checks the picture against the start one: "moves" it (over 1000
# pixels changed) or "keeps" it (under 100). $1: evdev code; $4: what the key is.
expect_key() {
    local changed
    key down "$1"
    sleep "$2"
    key up "$1"
    sleep 0.5
    screenshot "$scratch/after.png"
    changed=$(differing_pixels "$scratch/start.png" "$scratch/after.png" 0)
    echo "pixels changed by $4: $changed"
    case $3 in
        moves) [ "$changed" -gt 1000 ] || fail "$4 did not change the view" ;;
        keeps) [ "$changed" -lt 100 ] || fail "$4 changed the view" ;;
    esac
}
# evdev codes: Up 103, Space 57; on the French layout the key at US W (17) gives Z, the one at
# US Z (44) gives W, which does nothing.
screenshot "$scratch/start.png"
expect_key 103 0.5 moves Up
expect_key 57 0.1 keeps "Space after Up"
expect_key 44 0.3 keeps "the key at US Z (W in French)"
expect_key 17 0.3 moves "the key at US W (Z in French)"

echo "== Hidden, then shown again"
screenshot "$scratch/visible.png"
swaymsg "[pid=$game_pid] move container to workspace 2" >/dev/null
sleep 1.5
before=$(commits)
sleep 2
hidden_commits=$(($(commits) - before))
hidden_fps=$(title_fps)
echo "hidden: $hidden_commits frames committed in 2 s, title at $hidden_fps passes a second"
[ "$hidden_commits" = 0 ] || fail "hidden, it committed $hidden_commits frames"
[ -n "$hidden_fps" ] && [ "$hidden_fps" -le 15 ] || fail "hidden, it runs flat out at $hidden_fps passes a second"
swaymsg "[pid=$game_pid] move container to workspace 1" >/dev/null
swaymsg "workspace 1" >/dev/null
sleep 0.3
screenshot "$scratch/shown.png"
changed=$(differing_pixels "$scratch/visible.png" "$scratch/shown.png" 0)
echo "shown again: $changed pixels changed"
[ "$changed" -lt 100 ] || fail "shown again, the view is not the one it left"
sleep 2.5
shown_fps=$(title_fps)
echo "shown again: $shown_fps FPS"
[ -n "$shown_fps" ] && [ "$shown_fps" -gt 20 ] || fail "shown again, it draws at only $shown_fps FPS"

echo "== The output scaled to 150 %"
key down 57
key up 57
sleep 0.5
from=$(($(wc -l <"$scratch/errors") + 1))
swaymsg output HEADLESS-1 scale 1.5 >/dev/null
swaymsg "[pid=$game_pid] move position center" >/dev/null # on the output, now smaller in its units
sleep 1.5
rect=$(view | jq -r '"\(.rect.width)x\(.rect.height)"')
sizes=$(attached_sizes "$from" | sort | uniq -c | tr -s ' \n' ' ')
echo "window $rect; buffers attached since:$sizes"
[ "$rect" = 800x600 ] || fail "at 150 % the window is $rect, not 800x600 of the desktop's units"
[ "$(attached_sizes "$from" | tail -n 1)" = 1200x900 ] || fail "at 150 % the game draws at$sizes, not 1200x900"
screenshot "$scratch/scaled.png"
convert "$scratch/scaled.png" -resize '800x600!' "$scratch/scaled-at-800.png"
changed=$(differing_pixels "$scratch/start.png" "$scratch/scaled-at-800.png" 20)
echo "$(identify -format '%wx%h' "$scratch/scaled.png") start view against the one at 100 %: $changed pixels differ"
[ "$changed" -lt 9600 ] || fail "at 150 % the start view is not the one at 100 %"
swaymsg output HEADLESS-1 scale 1 >/dev/null

echo "== A close request"
swaymsg "[pid=$game_pid] kill" >/dev/null
wait_for_exit 5
echo "exit status: $status"
[ "$status" = 0 ] || fail "a close request ended the game with status $status"

echo "== The compositor goes away"
exec 3>&-
start_game
sleep 1
kill -9 "$SWAY_PID"
wait_for_exit 5
echo "exit status: $status; standard error: $(cat "$scratch/errors")"
[ "$status" = 1 ] || fail "losing the compositor ended the game with status $status"
[ "$(cat "$scratch/errors")" = "tarnwick: lost the connection to the Wayland compositor" ] ||
    fail "standard error is not the one line"
echo "passed"
