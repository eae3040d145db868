#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The portable Linux download of this release (build/release, unless given) as players of other
# distributions meet it. Here: every ELF file in its folder needs of the system only glibc 2.34 or
# newer, libGL and the Wayland client library, and names no folder to load libraries from. Then
# in fresh Debian 12 and Debian 13 roots that have Mesa's drivers and the X11 and Wayland client
# libraries but no GLFW, no GLU and no compiler, unpacked into a folder whose name has a space and
# a non-ASCII letter: the game opens its titled window under Xvfb, started from another folder,
# and Escape ends it with status 0; install-menu-entry writes an entry that desktop-file-validate
# accepts and whose Exec starts the game, and remove-menu-entry leaves nothing behind; in the
# Debian 13 root the game also runs natively under a headless sway, where GLFW as the game carries
# it reads a simulated gamepad (tests/support/simulated_pad.h). Needs root (scripts/in-debian).
#   tests/release/portable_linux.sh [FOLDER_BUILT_BY_RELEASE]
set -euo pipefail
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^project(tarnwick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=tarnwick-$version-linux-x86_64
fail() { echo "FAILED: $*" >&2; exit 1; }

if [ "${1:-}" != --inside ]; then
    release=${1:-build/release}
    tarball=$release/$name.tar.gz
    [ -f "$tarball" ] || fail "no $tarball (run scripts/release)"
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    tar -xzf "$tarball" -C "$scratch"
    echo "== What each ELF file of $name needs from the system"
    while IFS= read -r -d '' file; do
        [ "$(head -c 4 "$file")" = $'\x7fELF' ] || continue
        needed=$(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
        for library in $needed; do
            case $library in
                libc.so.6 | libm.so.6 | ld-linux-x86-64.so.2 | libGL.so.1 | libwayland-client.so.0) ;;
                *) fail "${file#"$scratch"/} needs $library" ;;
            esac
        done
        ! readelf -d "$file" | grep -qE '\((RPATH|RUNPATH)\)' || fail "${file#"$scratch"/} names a folder to load from"
        newest=$(readelf --dyn-syms --wide "$file" | grep -o 'GLIBC_2\.[0-9.]*' | sort -uV | tail -n 1)
        [ "$(printf '%s\n' GLIBC_2.34 "$newest" | sort -V | tail -n 1)" = GLIBC_2.34 ] ||
            fail "${file#"$scratch"/} asks for $newest"
        echo "${file#"$scratch"/}: needs ${needed% }; newest glibc symbol version ${newest#GLIBC_}"
    done < <(find "$scratch" -type f -print0 | sort -z)

    echo "== The simulated gamepad, to preload into the game"
    cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/test --target tarnwick_simulated_pad_preload >/dev/null
    rm -rf build/portable-check
    mkdir -p build/portable-check
    cp "$tarball" build/test/tests/libtarnwick_simulated_pad_preload.so build/portable-check/
    for debian in 12 13; do
        scripts/in-debian --with build/portable-check "$debian" tests/release/portable_linux.sh --inside
    done
    echo "portable: passed on Debian 12 and 13"
    exit 0
fi

# In the fresh root: what a desktop without GLFW, GLU or a compiler has, and the tools to look.
packages=(libgl1 libgl1-mesa-dri libglx-mesa0 libegl1 libegl-mesa0 libx11-6 libxcursor1 libxrandr2 libxi6 libxinerama1
          libxkbcommon0 libwayland-client0 libwayland-cursor0 libwayland-egl1 xvfb xdotool desktop-file-utils
          libglib2.0-bin)
debian=$(. /etc/os-release && echo "$VERSION_ID")
[ "$debian" = 12 ] || packages+=(sway grim jq)
apt-get update >/dev/null
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}" >/dev/null
for package in libglfw3 libglu1-mesa gcc g++ clang; do
    ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || fail "$package is installed"
done
! command -v cc >/dev/null && ! command -v c++ >/dev/null || fail "a compiler is installed"

folder="/root/Jeux préférés"
mkdir -p "$folder"
tar -xzf "build/portable-check/$name.tar.gz" -C "$folder"
game="$folder/$name/tarnwick"
export LD_LIBRARY_PATH= # nothing but the system's own libraries
preload=$PWD/build/portable-check/libtarnwick_simulated_pad_preload.so

echo "== Debian $debian, X11 (Xvfb): the game started from another folder, then from its menu entry"
# shellcheck disable=SC2016 # expanded by the inner shell
tests/run_with_xvfb.sh bash -euc '
    game=$1
    fail() { echo "FAILED: $*" >&2; exit 1; }
    # Waits for the titled window of the game, checks its title, presses Escape and waits for the
    # game to end; sets pid to its process id.
    play_and_end() {
        local window="" title
        for _ in $(seq 200); do
            window=$(xdotool search --name "^Tarnwick Alpha \\(" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
            sleep 0.1
        done
        [ -n "$window" ] || fail "no titled window within 20 s"
        title=$(xdotool getwindowname "$window")
        [[ $title =~ ^Tarnwick\ Alpha\ \([0-9]+\.[0-9]\ FPS\)$ ]] || fail "the title is \"$title\""
        pid=$(xdotool getwindowpid "$window")
        [ "$(readlink "/proc/$pid/exe")" = "$game" ] || fail "the window is not of $game"
        xdotool windowfocus --sync "$window" key Escape
        for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        ! kill -0 "$pid" 2>/dev/null || fail "the game did not end on Escape"
        echo "$title; Escape"
    }
    (cd / && exec "$game") &
    play_and_end
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
        play_and_end
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

if [ "$debian" != 12 ]; then
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
echo "portable: Debian $debian passed"
