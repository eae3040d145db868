// SPDX-License-Identifier: MIT
// The GLFW 2 numbering of the named keys the game reads. Kept apart from platform.h so the
// GLFW 3 side can translate them without seeing the GLFW 2-style names, which clash with its own.
#pragma once

enum TGlfw2Key : int {
    Glfw2KeySpace = 32,
    Glfw2KeyEsc = 257,
    Glfw2KeyUp = 283,
    Glfw2KeyDown = 284,
    Glfw2KeyLeft = 285,
    Glfw2KeyRight = 286,
};
