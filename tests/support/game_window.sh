# SPDX-License-Identifier: MIT
# Sourced by the shell tests that look at the game's window on an X display: pictures compared
# with ImageMagick, keys sent with xdotool. They fail the caller's test with its fail function.

# How many pixels of two pictures of one size differ by more than the fuzz, a percentage of the
# colour range.
differing_pixels() { # $1, $2: pictures; $3: fuzz
    local count
    count=$(compare -metric AE -fuzz "$3%" "$1" "$2" null: 2>&1 || true)
    # ImageMagick writes large counts as 1.07e+06.
    [[ "$count" =~ ^[0-9.]+(e\+[0-9]+)?$ ]] || fail "cannot compare the pictures: $count"
    LC_ALL=C printf '%.0f\n' "$count"
}

# Holds Up in the window for the given time, then checks that the picture of the area (the window,
# or the drawing area Wine makes in it) is no longer the start picture: the board drove.
expect_up_drives() { # $1: window; $2: area; $3: the start picture (PNG); $4: seconds
    local changed
    xdotool windowfocus --sync "$1" keydown Up
    sleep "$4"
    xdotool keyup Up
    sleep "$4"
    import -window "$2" "${3%.png}-driven.png"
    changed=$(differing_pixels "$3" "${3%.png}-driven.png" 0)
    echo "Up held for $4 s: $changed pixels changed"
    [ "$changed" -gt 1000 ] || fail "Up did not drive the board"
}
