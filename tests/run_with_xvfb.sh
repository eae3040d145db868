#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command against a private Xvfb display (Mesa's software GL), started here and stopped
# when the command ends, so display tests need no running X server and can run side by side.
# XVFB_SCREEN sets the screen's size and depth (1024x768x24 unless set).
set -u
scratch=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$scratch/display" 2>"$scratch/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$scratch"' EXIT
for _ in $(seq 200); do
    [ -s "$scratch/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$scratch/display" ]; then
    echo "run_with_xvfb: Xvfb did not start:" >&2
    cat "$scratch/log" >&2
    exit 1
fi
DISPLAY=":$(head -n 1 "$scratch/display")" LIBGL_ALWAYS_SOFTWARE=1 "$@"
