// SPDX-License-Identifier: MIT
// The GL 1.1 and GLU calls the drawing makes, over WebGL (gl_subset.cpp defines them with GL's
// own names and meaning): matrix stacks, immediate-mode quads, triangles and lines with per-vertex
// colours clamped to [0, 1] and smoothly shaded, viewport, clear, and the depth test. The drawing
// includes GL's own headers and gets this where the desktop gets Mesa's.
//
// The calls of a frame are gathered and drawn at the buffer swap, in the order they were made, in
// one upload of its vertices; a frame that would draw the picture already on the screen draws
// nothing.
#pragma once

// Opens the WebGL context with at least the given depth bits, on a drawing buffer of width x
// height (the viewport's first size); a TWebGLOpening (browser.h).
int OpenDrawing(int depthBits, int width, int height);
// Draws what the frame's calls gathered, unless the screen shows that picture already: the buffer
// swap of the web page. The browser shows the frame once the animation frame returns.
void FlushDrawing();
