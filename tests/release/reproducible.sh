#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The release built again from another clone of this commit, at a path with a space and a
# non-ASCII letter, later, under umask 0077, another time zone and a French locale, against one
# scripts/release already built (build/release, unless given): every file must be the same, byte
# for byte. Prints how many are; for a file that differs, what differs (with diffoscope where it
# is installed, else the first differing bytes).
#   tests/release/reproducible.sh [FOLDER_BUILT_BY_RELEASE]
set -euo pipefail
cd "$(dirname "$0")/../.."
first=$(realpath "${1:-build/release}")
[ -f "$first/SHA256SUMS" ] || { echo "reproducible: no release in $first (run scripts/release)" >&2; exit 1; }
scratch=$(mktemp -d /var/tmp/tarnwick-release.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
clone="$scratch/another clone ü"
git clone --quiet --no-hardlinks "$PWD" "$clone"
# The French locale, built here: a machine need not have it.
mkdir "$scratch/locales"
localedef -i fr_FR -f UTF-8 "$scratch/locales/fr_FR.UTF-8" 2>/dev/null || [ -f "$scratch/locales/fr_FR.UTF-8/LC_NUMERIC" ] ||
    { echo "reproducible: cannot build the fr_FR.UTF-8 locale" >&2; exit 1; }
(cd "$clone" && umask 0077 && TZ=Pacific/Chatham LOCPATH="$scratch/locales" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 \
    scripts/release)
second="$clone/build/release"

identical=0 total=0
while read -r name; do
    total=$((total + 1))
    if [ ! -f "$first/$name" ] || [ ! -f "$second/$name" ]; then
        echo "only in one build: $name"
    elif cmp -s "$first/$name" "$second/$name"; then
        identical=$((identical + 1))
    else
        echo "differs: $name"
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$first/$name" "$second/$name" | head -n 200 || true
        else
            cmp -l "$first/$name" "$second/$name" | head -n 20 || true
        fi
    fi
done < <( (cd "$first" && ls -A; cd "$second" && ls -A) | sort -u)
echo "reproducible: $identical of $total files identical across the two builds"
[ "$identical" -eq "$total" ]
