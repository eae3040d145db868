// SPDX-License-Identifier: MIT
// The GLFW 3 services behind the GLFW 2-style calls. Only glfw3_backend.cpp includes GLFW 3's
// header: its function names and key macros clash with the GLFW 2-style ones of platform.h.
#pragma once

bool Glfw3Init();
void Glfw3Terminate();
// The window's X11 class and instance are "tarnwick", and it carries the game's icon.
bool Glfw3OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                     int depthBits, int stencilBits, bool fullscreen);
const char* Glfw3ErrorText();
void Glfw3SetStickyKeys(bool on);
void Glfw3SwapInterval(int interval);
double Glfw3Time();
void Glfw3SetTitle(const char* title);
// Shows the frame and gathers events; while the window is minimised, waits up to 0.1 s for one.
void Glfw3SwapAndPoll();
// glfw2Key: a TGlfw2Key or an upper-case letter.
bool Glfw3KeyPressed(int glfw2Key);
bool Glfw3WindowOpen();
bool Glfw3WindowIconified();
void Glfw3DrawingAreaSize(int* width, int* height);
