// SPDX-License-Identifier: MIT
// The window, its keys and the gamepads through GLFW 3's own calls, behind the GLFW 2-style calls
// of platform_glfw3.cpp. GLFW 3's header is seen only here and by the windowing systems
// (windowing.h): its function names and key macros clash with the GLFW 2-style ones of platform.h.
#pragma once

bool Glfw3Init();
void Glfw3Terminate();
// Desktops know the window as the game's (windowing.h): on X11 by its class "tarnwick" and its
// icon, on Wayland by the desktop entry's id.
bool Glfw3OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                     int depthBits, int stencilBits);
const char* Glfw3ErrorText();
void Glfw3EnableStickyKeys();
void Glfw3SwapInterval(int interval);
double Glfw3Time();
void Glfw3SetTitle(const char* title);
// Shows the frame and gathers events.
void Glfw3SwapAndPoll();
// Gathers events, then reads the joysticks; while the window is unseen, waits up to 0.1 s for
// an event first.
void Glfw3PollEvents();
// glfw2Key: a TGlfw2Key or an upper-case letter; held by the keyboard or a gamepad (gamepad.h).
bool Glfw3KeyPressed(int glfw2Key);
bool Glfw3WindowOpen();
bool Glfw3WindowUnseen();
// Once the window is to close: why the connection to the display was lost, or "" when it holds.
const char* Glfw3LostDisplay();
void Glfw3DrawingAreaSize(int* width, int* height);
