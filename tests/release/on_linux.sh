#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Linux downloads of this release for one architecture as players meet them (build/release,
# unless given). Here: every ELF file of the portable folder is of that architecture, needs of the
# system only glibc 2.34 or newer, libGL and the Wayland client library, and names no folder to
# load libraries from. Then in a fresh Debian 12 root and a fresh Debian 13 root of that
# architecture (arm64's programs run by qemu-user): the portable game as players of other
# distributions meet it (tests/release/portable_linux.sh), then, in the same root, the Debian
# package of that release installed, played and purged (tests/release/installed_debian.sh).
# Needs root (scripts/in-debian).
#   tests/release/on_linux.sh amd64|arm64 [FOLDER_BUILT_BY_RELEASE]
set -euo pipefail
cd "$(dirname "$0")/../.."
arch=${1:-}
release=${2:-build/release}
fail() { echo "FAILED: $*" >&2; exit 1; }
case $arch in
    amd64) machine="Advanced Micro Devices X86-64" loader=ld-linux-x86-64.so.2 ;;
    arm64) machine=AArch64 loader=ld-linux-aarch64.so.1 ;;
    *) echo "usage: $0 amd64|arm64 [FOLDER_BUILT_BY_RELEASE]" >&2; exit 2 ;;
esac
triplet=$(dpkg-architecture -a "$arch" -q DEB_HOST_GNU_TYPE 2>/dev/null)
tarball=$(ls "$release"/tarnwick-*-linux-"${triplet%%-*}".tar.gz) || fail "no portable download for $arch in $release"
name=$(basename "$tarball" .tar.gz)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tar -xzf "$tarball" -C "$scratch"

echo "== What each ELF file of $name needs from the system"
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file")" = $'\x7fELF' ] || continue
    [ "$(readelf -h "$file" | sed -n 's/^ *Machine: *//p')" = "$machine" ] || fail "${file#"$scratch"/} is not for $machine"
    needed=$(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
    for library in $needed; do
        case $library in
            libc.so.6 | libm.so.6 | "$loader" | libGL.so.1 | libwayland-client.so.0) ;;
            *) fail "${file#"$scratch"/} needs $library" ;;
        esac
    done
    ! readelf -d "$file" | grep -qE '\((RPATH|RUNPATH)\)' || fail "${file#"$scratch"/} names a folder to load from"
    newest=$(readelf --dyn-syms --wide "$file" | grep -o 'GLIBC_2\.[0-9.]*' | sort -uV | tail -n 1)
    [ "$(printf '%s\n' GLIBC_2.34 "$newest" | sort -V | tail -n 1)" = GLIBC_2.34 ] || fail "${file#"$scratch"/} asks for $newest"
    echo "${file#"$scratch"/}: $machine; needs ${needed% }; newest glibc symbol version ${newest#GLIBC_}"
done < <(find "$scratch" -type f -print0 | sort -z)

# What the roots get: the portable download and the Debian packages of the architecture.
rm -rf build/linux-check
mkdir -p build/linux-check
cp "$tarball" "$release"/tarnwick_*_"$arch".deb build/linux-check/
if [ "$arch" = amd64 ]; then
    echo "== The simulated gamepad, to preload into the game"
    cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/test --target tarnwick_simulated_pad_preload >/dev/null
    cp build/test/tests/libtarnwick_simulated_pad_preload.so build/linux-check/
fi
for debian in 12 13; do
    scripts/in-debian --arch "$arch" --with build/linux-check "$debian" \
        sh -c 'tests/release/portable_linux.sh && tests/release/installed_debian.sh'
done
echo "$arch: passed on Debian 12 and 13"
