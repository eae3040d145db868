#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package of this release installed as a player installs it, in a fresh root of that
# Debian release and of this machine's architecture (tests/release/on_linux.sh runs it there):
# apt installs the file with the packages it depends on; the installed game plays
# (tests/release/play_x11.sh) and ends with status 0 on Escape; its menu entry starts it; apt-get
# purge then leaves none of the package's files behind.
set -euo pipefail
cd "$(dirname "$0")/../.."
release=$(. /etc/os-release && echo "$VERSION_ID")
arch=$(dpkg --print-architecture)
deb=$(ls "$PWD"/build/linux-check/tarnwick_*+deb"${release}_$arch".deb)
fail() { echo "FAILED: $*" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
apt-get update >/dev/null
# What the test looks with; installed first, so that the game's install brings only its own.
apt-get install -y --no-install-recommends xvfb xdotool imagemagick libglib2.0-bin >/dev/null
echo "== apt-get install $(basename "$deb")"
apt-get install -y "$deb" | grep -E '^(Setting up|The following NEW)' || true
dpkg -L tarnwick >/tmp/installed-files
[ -x /usr/games/tarnwick ] || fail "no /usr/games/tarnwick"

echo "== The installed game, then its menu entry"
# shellcheck disable=SC2016 # expanded by the inner shell
tests/run_with_xvfb.sh bash -euc '
    /usr/games/tarnwick & game=$!
    tests/release/play_x11.sh /usr/games/tarnwick
    status=0
    wait "$game" || status=$?
    [ "$status" -eq 0 ] || { echo "FAILED: the game ended with status $status" >&2; exit 1; }
    echo "exit status 0"
    # Found where a Debian session looks for programs (/etc/profile puts /usr/games there).
    PATH=$PATH:/usr/games gio launch /usr/share/applications/org.tarnwick.TarnwickAlpha.desktop
    tests/release/play_x11.sh /usr/games/tarnwick' || fail "the installed game did not play"

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
echo "installed, played and purged on Debian $release $arch: $(grep -c . /tmp/installed-files) paths, none left"
