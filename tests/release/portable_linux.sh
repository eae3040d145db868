#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The portable Linux download of this release for this machine's architecture as players of other
# distributions meet it, in a fresh Debian root that has Mesa's drivers and the X11 and Wayland
# client libraries but no GLFW, no GLU and no compiler (tests/release/on_linux.sh runs it there,
# with the tarball in build/linux-check): unpacked into a folder whose name has a space and a
# non-ASCII letter, the game plays under Xvfb, started from another folder
# (tests/release/play_x11.sh), and ends with status 0; install-menu-entry writes an entry that
# desktop-file-validate accepts and whose Exec starts the game, also from a folder whose name has
# every character Exec must quote, and remove-menu-entry leaves nothing behind; on x86-64 in
# Debian 13 the game also runs natively under a headless sway, where GLFW as the game carries it
# reads a simulated gamepad (tests/support/simulated_pad.h).
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() { echo "FAILED: $*" >&2; exit 1; }
tarball=$(ls build/linux-check/tarnwick-*-linux-*.tar.gz)
name=$(basename "$tarball" .tar.gz)

# In the fresh root: what a desktop without GLFW, GLU or a compiler has, and the tools to look.
packages=(libgl1 libgl1-mesa-dri libglx-mesa0 libegl1 libegl-mesa0 libx11-6 libxcursor1 libxrandr2 libxi6 libxinerama1
          libxkbcommon0 libwayland-client0 libwayland-cursor0 libwayland-egl1 xvfb xdotool imagemagick
          desktop-file-utils libglib2.0-bin)
debian=$(. /etc/os-release && echo "$VERSION_ID")
arch=$(dpkg --print-architecture)
wayland=false
[ "$debian" != 12 ] && [ "$arch" = amd64 ] && wayland=true
! $wayland || packages+=(sway grim jq)
apt-get update >/dev/null
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}" >/dev/null
for package in libglfw3 libglu1-mesa gcc g++ clang; do
    ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || fail "$package is installed"
done
! command -v cc >/dev/null && ! command -v c++ >/dev/null || fail "a compiler is installed"

folder="/root/Jeux préférés"
mkdir -p "$folder"
tar -xzf "$tarball" -C "$folder"
game="$folder/$name/tarnwick"
export LD_LIBRARY_PATH= # nothing but the system's own libraries
preload=$PWD/build/linux-check/libtarnwick_simulated_pad_preload.so

echo "== Debian $debian $arch, X11 (Xvfb): the game started from another folder, then from its menu entry"
# shellcheck disable=SC2016 # expanded by the inner shell
tests/run_with_xvfb.sh bash -euc '
    game=$1
    fail() { echo "FAILED: $*" >&2; exit 1; }
    (cd / && exec "$game") &
    pid=$!
    tests/release/play_x11.sh "$game"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the game ended with status $status"

    # The menu entry of the game where it is now: valid, starting the game, removed without a trace.
    menu_round() {
        local entry=$HOME/.local/share/applications/org.tarnwick.TarnwickAlpha.desktop report left
        "${game%/*}/install-menu-entry"
        report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
        [ -z "$report" ] || fail "desktop-file-validate: $report"
        grep "^Exec=" "$entry"
        gio launch "$entry" 2>/dev/null &
        tests/release/play_x11.sh "$game"
        "${game%/*}/remove-menu-entry"
        left=$(find "$HOME/.local/share" -mindepth 1)
        [ -z "$left" ] || fail "remove-menu-entry left $left"
    }
    export HOME=$(mktemp -d) XDG_DATA_HOME=
    menu_round
    # And from a folder whose name has each character that Exec must quote or escape.
    odd="${game%/*/*}/Tarnwick \"100%\" \$HOME \`date\` back\\slash" unpacked=${game%/*}
    mv "$unpacked" "$odd"
    game=$odd/tarnwick
    menu_round
    mv "$odd" "$unpacked"
    echo "menu entry: valid, started the game, removed without a trace"
' _ "$game"

if $wayland; then
    echo "== Debian $debian, natively on Wayland (headless sway), a simulated gamepad through the GLFW it carries"
    # shellcheck disable=SC2016 # expanded by the inner shell
    tests/run_with_sway.sh bash -euc '
        game=$1 preload=$2
        fail() { echo "FAILED: $*" >&2; exit 1; }
        view() { swaymsg -t get_tree | jq -e --argjson pid "$1" ".. | objects | select(.pid? == \$pid)"; }
        # The view after 3 s (the board stands still again by then), with the pad given.
        view_after_3_s() {
            TARNWICK_SIMULATED_PAD=$1 LD_PRELOAD=$preload "$game" &
            local pid=$! status=0
            for _ in $(seq 100); do view "$pid" >/dev/null && break; sleep 0.1; done
            [ "$(view "$pid" | jq -r "[.app_id, .shell] | join(\" \")")" = "org.tarnwick.TarnwickAlpha xdg_shell" ] ||
                fail "no native Wayland window with the app_id of the game"
            sleep 3
            grim -g "$(view "$pid" | jq -r ".rect | \"\(.x),\(.y) \(.width)x\(.height)\"")" "$2"
            swaymsg "[pid=$pid] kill" >/dev/null
            wait "$pid" || status=$?
            [ "$status" -eq 0 ] || fail "closed, the game ended with status $status"
        }
        scratch=$(mktemp -d)
        view_after_3_s xbox360 "$scratch/at-rest.png"
        view_after_3_s xbox360-driving "$scratch/driven.png"
        ! cmp -s "$scratch/at-rest.png" "$scratch/driven.png" || fail "the stick of the pad held up did not drive"
        echo "a native Wayland window; the stick of the pad drove the board; closed with status 0"
    ' _ "$game" "$preload"
fi
echo "portable: Debian $debian $arch passed"
