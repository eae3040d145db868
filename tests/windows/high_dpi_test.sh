#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows game on a scaled desktop, under Wine: with the user's LogPixels at 144 and 192 (the
# 150 % and 200 % of Windows' display settings) its drawing area is 1200 x 900 and 1600 x 1200, and
# the picture is the start view over the whole of it, the one drawn at 800 x 600 with LogPixels
# unset; at each scale it plays as tests/windows/smoke_test.sh checks. LogPixels is put back as it
# was. Run inside tests/windows/wine_session.sh, on a screen that holds 1600 x 1200.
#   tests/windows/high_dpi_test.sh path/to/tarnwick.exe
set -euo pipefail
exe=$1
smoke_test=$(dirname "$0")/smoke_test.sh
wine=/usr/lib/wine/wine64
desktop='HKCU\Control Panel\Desktop'
scratch=$(mktemp -d)
before=$("$wine" reg query "$desktop" /v LogPixels 2>/dev/null | awk '$1 == "LogPixels" { print $3 }' | tr -d '\r' || true)
set_dpi() { # $1: dots per inch, or "unset"
    if [ "$1" = unset ]; then
        "$wine" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
    else
        "$wine" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    fi
}
trap 'set_dpi "${before:-unset}"; rm -rf "$scratch"' EXIT

echo "== LogPixels unset"
set_dpi unset
"$smoke_test" --save-start "$scratch/start.png" "$exe"
for scale in "144 1200x900" "192 1600x1200"; do
    read -r dpi size <<<"$scale"
    echo "== LogPixels $dpi"
    set_dpi "$dpi"
    "$smoke_test" --size "$size" --start-like "$scratch/start.png" "$exe"
done
echo "passed"
