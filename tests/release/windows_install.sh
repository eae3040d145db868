#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows downloads of this release as a player uses them, under Wine in a prefix of their own
# (tests/run_with_xvfb.sh tests/windows/wine_session.sh PREFIX tests/release/windows_install.sh):
# the installer run silently puts the game under Program Files with a Start menu shortcut and an
# entry in the installed apps, and the installed game plays (tests/windows/smoke_test.sh); its
# uninstaller, run silently, takes all of that away and nothing else. First, the zip unpacked into
# a folder whose name has a space and a non-ASCII letter plays from there.
set -euo pipefail
cd "$(dirname "$0")/../.."
wine=/usr/lib/wine/wine64
drive=$WINEPREFIX/drive_c
installed="$drive/Program Files/Tarnwick Alpha"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnwick Alpha.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickAlpha'
version=$(scripts/version)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# What the prefix holds, leaving out what Wine itself changes as it runs.
listing() { (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print | sort); }
# Waits up to 60 s for a condition: the uninstaller starts a copy of itself and returns at once.
within_a_minute() { for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done; return 1; }

folder="$drive/Jeux préférés"
# The prefix is kept from run to run: what a run that failed half-way left in it goes first.
"$wine" reg delete "$key" /f /reg:64 >/dev/null 2>&1 || true
rm -rf "$installed" "$shortcut" "$folder"

echo "== The zip, played from a folder named with a space and a non-ASCII letter"
mkdir -p "$folder"
unzip -q "build/release/tarnwick-$version-windows-x64.zip" -d "$folder"
tests/windows/smoke_test.sh "$folder/tarnwick-$version-windows-x64/tarnwick.exe"
rm -rf "$folder"

echo "== The installer, silently"
listing >"$scratch/before"
"$wine" "build/release/tarnwick-$version-windows-x64-setup.exe" /S
within_a_minute test -f "$installed/uninstall.exe" || fail "nothing installed under Program Files"
for file in tarnwick.exe LICENSE.txt README.txt uninstall.exe; do
    [ -f "$installed/$file" ] || fail "no $file installed"
done
[ -f "$shortcut" ] || fail "no Start menu shortcut"
"$wine" reg query "$key" /reg:64 | tee "$scratch/key"
for value in "DisplayName.*Tarnwick Alpha" "DisplayVersion.*$version" "Publisher.*The Tarnwick Alpha developers" \
             'DisplayIcon.*tarnwick\.exe,0' 'EstimatedSize.*REG_DWORD' 'UninstallString.*uninstall\.exe'; do
    grep -qE "$value" "$scratch/key" || fail "the uninstall key has no $value"
done
echo "== The installed game"
tests/windows/smoke_test.sh "$installed/tarnwick.exe"

echo "== The uninstaller, silently"
"$wine" "$installed/uninstall.exe" /S
within_a_minute test ! -e "$installed" || fail "the game's folder is still there"
# Its copy (Temp\~nsuN.tmp\Un.exe) may still be finishing: let it end before anything else runs.
within_a_minute bash -c "! pgrep -f 'nsu[0-9]*\.tmp' >/dev/null" || fail "the uninstaller did not end"
within_a_minute test ! -e "$shortcut" || fail "the shortcut is still there"
! "$wine" reg query "$key" /reg:64 >/dev/null 2>&1 || fail "the uninstall key is still there"
listing >"$scratch/after"
diff "$scratch/before" "$scratch/after" || fail "the prefix holds other files than before the install"

echo "played from the zip; installed, played and uninstalled"
