// SPDX-License-Identifier: MIT
// What the web platform layer asks of the page itself, in JavaScript (browser.js): the WebGL
// context the GL subset draws with, the page's messages to the player, and the browser's language.
#pragma once

extern "C" {

// Opens WebGL on the page's canvas, with a depth buffer of at least minDepthBits and no alpha or
// antialiasing (as the desktop's window). Afterwards the page looks after a lost context by itself:
// it tells the player, and when the browser gives the context back it makes the program and the
// buffer again and restores the state set through the calls below.
enum TWebGLOpening : int { WebGLOpened = 0, NoWebGL = 1, TooFewDepthBits = 2 };
int BrowserOpenWebGL(int minDepthBits);
// Draws each run (TDrawRun, gl_subset.cpp) of the vertices (TDrawnVertex) in order, uploading the
// vertices first when they changed since the last draw (or the context was made again).
void BrowserDraw(const void* vertices, int vertexCount, bool changed, const void* runs, int runCount);
void BrowserViewport(int x, int y, int width, int height);
void BrowserClearColor(float red, float green, float blue, float alpha);
void BrowserClear(unsigned mask);
void BrowserEnable(unsigned capability);
void BrowserDepthFunc(unsigned function);

// Shows the page's message with the given id (the page holds the words), with the detail in its
// .detail element when there is one.
void BrowserShowMessage(const char* id, const char* detail);
// The decimal separator of the given language tag, or of the browser's own language when the tag
// is empty; "." when the browser's Intl refuses the tag.
void BrowserDecimalSeparator(const char* language, char* separator, int size);
}
