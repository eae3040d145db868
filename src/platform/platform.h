// SPDX-License-Identifier: MIT
// The GLFW 2-style calls the game is written against: window, keyboard, clock and buffer swap.
// This header is all the game sees of the platform. It is implemented over GLFW 3 for the game on
// the desktop (platform_glfw3.cpp), over the browser for the game in a web page
// (web/platform_web.cpp), and by a scripted test double for tests and benchmarks
// (tests/support/scripted_platform.h).
#pragma once

#include "platform/glfw2_keys.h"

// Named keys; a letter key is its upper-case character code and means the key that produces
// that letter on the player's keyboard layout.
inline constexpr int GLFW_KEY_SPACE = Glfw2KeySpace;
inline constexpr int GLFW_KEY_ESC = Glfw2KeyEsc;
inline constexpr int GLFW_KEY_UP = Glfw2KeyUp;
inline constexpr int GLFW_KEY_DOWN = Glfw2KeyDown;
inline constexpr int GLFW_KEY_LEFT = Glfw2KeyLeft;
inline constexpr int GLFW_KEY_RIGHT = Glfw2KeyRight;

inline constexpr int GLFW_RELEASE = 0;
inline constexpr int GLFW_PRESS = 1;

inline constexpr int GLFW_WINDOW = 0x00010001;
inline constexpr int GLFW_OPENED = 0x00020001;
inline constexpr int GLFW_ICONIFIED = 0x00020003;
inline constexpr int GLFW_STICKY_KEYS = 0x00030002;

int glfwInit();
void glfwTerminate();

// Zero colour bits ask for the library's default. Returns 1 when the window and its GL context
// are open and current, 0 otherwise.
int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode);
// GLFW_STICKY_KEYS: a key pressed and released between two polls reads as pressed once.
void glfwEnable(int token);
void glfwSwapInterval(int interval);

// Seconds from a steady clock.
double glfwGetTime();

void glfwSetWindowTitle(const char* title);
// Shows the frame, then gathers pending window and keyboard events and reads the gamepads.
void glfwSwapBuffers();
// Gathers pending window and keyboard events and reads the gamepads without showing anything. While
// the window is unseen it waits up to 0.1 s for an event first, so the game does not run flat out.
void glfwPollEvents();
// GLFW_PRESS while the keyboard, a touch control or a gamepad holds the key (held_keys.h,
// gamepad.h), or GLFW_RELEASE.
int glfwGetKey(int key);
// GLFW_OPENED: 1 while the window is open and the player has not asked to close it.
// GLFW_ICONIFIED: 1 while the window is unseen: minimised, or, as far as the windowing system
// tells, shown on no screen (Wayland says nothing of minimising, only whether it shows the window).
int glfwGetWindowParam(int param);
// The drawing area in pixels (which differs from the window's size on high-DPI screens).
void glfwGetWindowSize(int* width, int* height);

// Not GLFW 2 calls:
// Why the window could not be opened, or "" when the library gave no reason.
const char* PlatformErrorText();
// Once the window is to close: why, when the player did not close it (the display went away),
// or "".
const char* PlatformLostDisplay();
// Tells the player, in one line, why the game cannot go on: on standard error and, on Windows,
// where a windowed program started from the desktop has no console, in a message box as well; in
// a web page, in the page.
void PlatformReportFailure(const char* line);
// In a web page, where the browser runs the loop: calls pass once per animation frame of the
// browser until it returns false. Returns at once. (The browser platform only.)
void PlatformRunEachAnimationFrame(bool (*pass)());
