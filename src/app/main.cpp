// SPDX-License-Identifier: MIT
#include "app/frame_loop.h"

int main() { return RunGame(); }
