#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package of this release installed as a player installs it, in a fresh root of that
# release (scripts/in-debian --with build/release 12|13 tests/release/installed_debian.sh): apt
# installs the file with the packages it depends on; the installed game opens its window and draws
# its start view (the red board in the middle, the blue arena about it); apt-get purge then leaves
# none of the package's files behind.
set -euo pipefail
cd "$(dirname "$0")/../.."
release=$(. /etc/os-release && echo "$VERSION_ID")
deb=$(ls "$PWD"/build/release/tarnwick_*+deb"${release}"_*.deb)
fail() { echo "FAILED: $*" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
apt-get update >/dev/null
# What the test looks with; installed first, so that the game's install brings only its own.
apt-get install -y --no-install-recommends xvfb xdotool imagemagick >/dev/null
echo "== apt-get install $(basename "$deb")"
apt-get install -y "$deb" | grep -E '^(Setting up|The following NEW)' || true
dpkg -L tarnwick >/tmp/installed-files
[ -x /usr/games/tarnwick ] || fail "no /usr/games/tarnwick"

echo "== The installed game's start view"
view=$(mktemp --suffix=.png)
tests/run_with_xvfb.sh sh -c '
    /usr/games/tarnwick & game=$!
    for _ in $(seq 100); do
        window=$(xdotool search --name "^Tarnwick Alpha \(" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "no window" >&2; kill $game; exit 1; }
    sleep 1
    import -window "$window" "$1" || { echo "no picture of the window" >&2; kill $game; exit 1; }
    kill $game' _ "$view" || fail "the installed game showed no window"
pixel() { convert "$view" -format "%[fx:int(255*p{$1}.r)] %[fx:int(255*p{$1}.g)] %[fx:int(255*p{$1}.b)]\n" info:; }
read -r width height < <(identify -format '%w %h\n' "$view")
read -r r g b < <(pixel 400,300)
echo "window ${width}x${height}, centre $r $g $b"
[ "$width" = 800 ] && [ "$height" = 600 ] || fail "the window is ${width}x${height}"
[ "$r" -gt 200 ] && [ "$g" -lt 80 ] && [ "$b" -lt 80 ] || fail "no red board in the middle"
read -r r g b < <(pixel 600,450)
[ "$b" -gt 150 ] && [ "$r" -lt 60 ] || fail "no blue arena about it ($r $g $b)"

echo "== apt-get purge tarnwick"
apt-get purge -y tarnwick >/dev/null
left=0
while read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ] || [ -L "$path" ]; then
        echo "left behind: $path"
        left=$((left + 1))
    fi
done </tmp/installed-files
[ ! -e /usr/share/doc/tarnwick ] || { echo "left behind: /usr/share/doc/tarnwick"; left=$((left + 1)); }
[ "$left" -eq 0 ] || fail "$left of the package's files left after purge"
echo "installed, played and purged on Debian $release: $(grep -c . /tmp/installed-files) paths, none left"
