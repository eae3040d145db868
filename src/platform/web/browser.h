// SPDX-License-Identifier: MIT
// What the web platform layer asks of the page itself, in JavaScript (browser.js): the canvas's
// place in the page, the WebGL context the GL subset draws with, the keyboard, the page's touch
// controls, the gamepads, the page's messages to the player, and the browser's language.
#pragma once

extern "C" {

// Has the page lay the canvas out in the shape of a width x height window, as large as fits: at
// most that many CSS pixels, no wider than the screen, and with a touch screen leaving room for
// the touch controls. The page refits it when the screen turns or the browser's window changes.
void BrowserFitCanvas(int width, int height);
// The canvas's size in the page now, in CSS pixels.
void BrowserCanvasSize(double* width, double* height);

// How the page finds a frame's vertices and steps in the game's memory (BrowserDrawFrame): a
// vertex in bytes, a step in 32-bit words. The build hands these numbers to browser.js by name
// (-jsD, read from here by src/CMakeLists.txt), and gl_subset.cpp holds its structures to them.
inline constexpr int BrowserVertexBytes = 28;      // a vertex: its clip position (4 floats),
inline constexpr int BrowserVertexColourByte = 16; // then its colour (3 floats)
inline constexpr int BrowserStepWords = 14;        // a TDrawStep: the state it is made in,
inline constexpr int BrowserStepViewport = 0;      //   its viewport (4 ints),
inline constexpr int BrowserStepClearColour = 4;   //   clear colour (4 floats),
inline constexpr int BrowserStepDepthTest = 8;     //   depth test (1 when enabled)
inline constexpr int BrowserStepDepthFunc = 9;     //   and depth function;
inline constexpr int BrowserStepClear = 10;        // the buffers a clear clears (0 for a draw);
inline constexpr int BrowserStepMode = 11;         // a draw's mode, first vertex and count
inline constexpr int BrowserStepFirst = 12;
inline constexpr int BrowserStepCount = 13;

// The state of WebGL that a clear or a draw is made in.
struct TDrawState {
    int Viewport[4];
    float ClearColour[4];
    int DepthTest; // 1 when enabled
    int DepthFunc;
};
// One clear or one draw of a frame, with the state it is made in: Clear holds the buffers a clear
// clears, and is 0 for a draw of Count vertices from First as Mode (GL_TRIANGLES or GL_LINES).
struct TDrawStep {
    TDrawState State;
    unsigned Clear;
    int Mode, First, Count;
};

// Opens WebGL on the page's canvas, with a depth buffer of at least minDepthBits and no alpha or
// antialiasing (as the desktop's window). Afterwards the page looks after a lost context by itself:
// it tells the player, and when the browser gives the context back it makes the program and the
// buffer again.
enum TWebGLOpening : int { WebGLOpened = 0, NoWebGL = 1, TooFewDepthBits = 2 };
int BrowserOpenWebGL(int minDepthBits);
// Sizes the canvas's drawing buffer, in device pixels; this blanks it.
void BrowserSizeDrawingBuffer(int width, int height);
// Whether the canvas still shows the picture BrowserDrawFrame last drew. Not before the first,
// nor once the browser has blanked it or may have: the drawing buffer resized, the context lost
// or given back, the page shown again.
bool BrowserPictureShown();
// Draws a frame's steps in order over its vertices (TDrawnVertex, gl_subset.cpp), uploading the
// vertices first when they changed since the last frame drawn (or the context was made again).
// False when there is no context to draw with.
bool BrowserDrawFrame(const TDrawStep* steps, int stepCount, const void* vertices, int vertexCount,
                      bool changed);

// From now on each key of the keyboard going down or up calls key(value, code, down, shortcut),
// with its KeyboardEvent.key and .code values ("" where the browser gives none) and whether Ctrl,
// Alt or Meta is held; key returns 1 when the key is the game's, which the page then keeps from
// the browser. A null key stops it.
void BrowserListenToKeys(int (*key)(const char* value, const char* code, int down, int shortcut));

// From now on each of the page's touch controls calls control(key, 1) when a finger comes onto it
// while none was, and control(key, 0) when the last one leaves it or the touch is cancelled, with
// its key's KeyboardEvent.key value ("ArrowUp", " ", "z"). Losing the focus or being hidden lets
// go of every control. A null control stops it, letting go of every control without a call.
void BrowserListenToControls(void (*control)(const char* key, int held));

// From now on (listen true) the page notes when the browser first shows it a gamepad.
void BrowserListenToPads(bool listen);
// Once the browser has shown the page a gamepad, and while the page is not hidden, writes each
// entry of the browser's list of pads, up to slots of them, into values: for each, 2 + buttons +
// axes numbers: 1 for a pad there (else 0), 1 for one in the standard layout (else 0), then each
// button's value (0 to 1) and each axis (-1 to 1), NaN where the pad has no such button or axis or
// gives something that is not a number. Returns how many entries it wrote; 0 when there is
// nothing to read.
int BrowserReadPads(float* values, int slots, int buttons, int axes);

// Sets the document's title, which the browser shows as the tab's and the window's.
void BrowserSetTitle(const char* title);

// Shows the page's message with the given id (the page holds the words), with the detail in its
// .detail element when there is one.
void BrowserShowMessage(const char* id, const char* detail);
// The decimal separator of the given language tag, or of the browser's own language when the tag
// is empty; "." when the browser's Intl refuses the tag.
void BrowserDecimalSeparator(const char* language, char* separator, int size);
}
