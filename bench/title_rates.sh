# SPDX-License-Identifier: MIT
# Sourced by the benchmarks that read the game's frame rate from its title in interleaved rounds
# (bench/pad_rounds, bench/portable_rounds, bench/unseen_rounds). Numbers are read and written with
# a point (LC_ALL=C).

# The mean of the one-second titles of the game with that process id on this X display over the
# seconds given, the first left out (it holds the start-up frame only); fails when none was read.
#   title_rate_x11 PID SECONDS
title_rate_x11() {
    local pid=$1 seconds=$2 sum=0 count=0 title rate
    for second in $(seq "$seconds"); do
        sleep 1
        [ "$second" -lt 2 ] && continue
        title=$(xdotool search --pid "$pid" --name "^Tarnwick Alpha" getwindowname 2>/dev/null | head -n 1) || true
        rate=$(sed -n 's/^Tarnwick Alpha (\([0-9]*\.[0-9]\) FPS)$/\1/p' <<<"$title")
        [ -n "$rate" ] && { sum=$(echo "$sum + $rate" | bc -l); count=$((count + 1)); }
    done
    [ "$count" -gt 0 ] || { echo "no frame rate read from the title of process $pid" >&2; return 1; }
    echo "scale=1; $sum / $count" | bc -l
}

# Ends the game with that process id on this X display with Escape, as a player does, and waits
# for it (killing it after 10 s).
end_game_x11() {
    xdotool search --pid "$1" --name "^Tarnwick Alpha" windowfocus --sync key Escape 2>/dev/null || true
    timeout 10 tail --pid="$1" -f /dev/null || kill "$1"
}

# The median of the numbers given.
median() {
    printf '%s\n' "$@" | sort -n | awk '{ r[NR] = $1 } END { print (NR % 2) ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }'
}
