# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit ARM Linux with Debian's cross toolchain (crossbuild-essential-arm64),
# against the arm64 libraries installed beside the machine's own through multiarch
# (dpkg --add-architecture arm64). Programs built here run under qemu-user where CTest starts them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "pkg-config for arm64")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
