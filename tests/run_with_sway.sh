#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command against a private headless sway (pixman renderer, Mesa's software GL for the
# client), started here and stopped when the command ends: a runtime folder of its own, no X
# server, no input devices (so its seat starts without a keyboard), one 1024x768 output (or as
# SWAY_OUTPUT sets it, in sway's words: "resolution 1920x1440"), windows without borders, and the
# game's window floating at the size it asks for, as on a desktop that does not tile. The command
# sees WAYLAND_DISPLAY, SWAYSOCK and SWAY_PID.
set -u
scratch=$(mktemp -d)
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
printf '%s\n' 'xwayland disable' "output HEADLESS-1 ${SWAY_OUTPUT:-resolution 1024x768}" 'default_border none' \
    'for_window [app_id="^org.tarnwick.TarnwickAlpha$"] floating enable' >"$scratch/config"
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway --config "$scratch/config" >"$scratch/log" 2>&1 &
SWAY_PID=$!
trap 'kill "$SWAY_PID" 2>/dev/null; wait "$SWAY_PID" 2>/dev/null; rm -rf "$scratch"' EXIT
for _ in $(seq 200); do
    WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n 1)
    SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n 1)
    [ -n "$WAYLAND_DISPLAY" ] && [ -n "$SWAYSOCK" ] && SWAYSOCK=$SWAYSOCK swaymsg -t get_version >/dev/null 2>&1 && break
    kill -0 "$SWAY_PID" 2>/dev/null || break
    sleep 0.05
done
if ! SWAYSOCK=$SWAYSOCK swaymsg -t get_version >/dev/null 2>&1; then
    echo "run_with_sway: sway did not start:" >&2
    cat "$scratch/log" >&2
    exit 1
fi
export WAYLAND_DISPLAY SWAYSOCK SWAY_PID XDG_SESSION_TYPE=wayland
LIBGL_ALWAYS_SOFTWARE=1 "$@"
