#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Plays a game this release installed or unpacked, started by the caller, on this X display (run
# under tests/run_with_xvfb.sh) as a player would: its titled window, 800 x 600, shows the start
# view as the x86-64 game draws it (docs/screenshot.png), the board drives ahead while Up is held,
# and Escape ends it. Judged by what is drawn, not how fast: it holds at a few frames a second, as
# a game under emulation draws. Waits for the game to be gone; the caller reads its exit status.
#   tests/release/play_x11.sh PATH_OF_THE_GAME
set -euo pipefail
cd "$(dirname "$0")/../.."
game=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# shellcheck source=tests/support/game_window.sh
. tests/support/game_window.sh

window=""
deadline=$((SECONDS + 60))
while [ -z "$window" ] && [ "$SECONDS" -lt "$deadline" ]; do
    window=$(xdotool search --name '^Tarnwick Alpha \(' 2>/dev/null | head -n 1) || sleep 0.1
done
[ -n "$window" ] || fail "no titled window within 60 s"
pid=$(xdotool getwindowpid "$window")
# The window's process runs the game: natively its executable, under qemu-user its argument.
[ "$(readlink "/proc/$pid/exe")" = "$game" ] || [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" | sed -n 2p)" = "$game" ] ||
    fail "the window is not of $game"
# The start view, once the title has its first frame rate (a second of frames drawn).
title=""
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ]; do
    title=$(xdotool getwindowname "$window")
    [[ $title =~ ^Tarnwick\ Alpha\ \([0-9]+\.[0-9]\ FPS\)$ ]] && [ "$title" != "Tarnwick Alpha (0.0 FPS)" ] && break
    sleep 0.1
done
[[ $title =~ ^Tarnwick\ Alpha\ \([0-9]+\.[0-9]\ FPS\)$ ]] || fail "the title is \"$title\""
import -window "$window" "$scratch/start.png"
size=$(identify -format '%wx%h' "$scratch/start.png")
differing=$(differing_pixels docs/screenshot.png "$scratch/start.png" 10)
echo "$title, $size; the start view against the x86-64 game's: $differing pixels differ"
[ "$size" = 800x600 ] || fail "the window is $size"
[ "$differing" -lt 4800 ] || fail "not the start view the x86-64 game draws"

expect_up_drives "$window" "$window" "$scratch/start.png" 2

xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
deadline=$((SECONDS + 30))
while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
! kill -0 "$pid" 2>/dev/null || fail "the game did not end within 30 s of Escape"
echo "Escape: ended"
