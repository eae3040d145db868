#!/bin/sh
# SPDX-License-Identifier: MIT
# Fails when the given program links GL or GLFW, and also when its libraries cannot be listed:
# a guard that passes on a failed ldd would guard nothing.
libraries=$(ldd "$1" 2>&1) || { echo "ldd could not read $1: $libraries" >&2; exit 1; }
if printf '%s\n' "$libraries" | grep -E 'libGL|libglfw'; then
    echo "$1 links GL or GLFW" >&2
    exit 1
fi
