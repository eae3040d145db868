// SPDX-License-Identifier: MIT
// A test double of the platform layer (platform.h): tests script the keys, the gamepads, the
// clock, the drawing area and whether the window opens, and read back what the game asked of the
// window.
// Link it in place of the GLFW 3 implementation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gamepad.h"

struct TScript {
    // What the platform reports.
    bool RefuseWindow = false;
    const char* ErrorText = "";
    double Clock = 0;            // what glfwGetTime returns
    double ClockStepPerPass = 0; // added to Clock at every gathering of events (swap or poll)
    int Width = 800;
    int Height = 600;
    bool CloseRequested = false;
    bool Unseen = false;                    // the window is minimised or on no screen
    const char* LostDisplay = "";           // non-empty: the display went away, and the window with it
    std::function<void(int passes)> OnPass; // runs after each gathering of events (swap or poll)
    TPadReading Pads[MaxPads];              // read at each gathering of events, after OnPass

    // What the game did.
    bool Initialised = false;
    bool WindowOpen = false;
    bool StickyKeys = false;
    int SwapInterval = -1;
    int SwapCount = 0;
    int PollCount = 0; // gatherings of events without a swap
    int OpenWidth = 0, OpenHeight = 0, OpenDepthBits = 0, OpenMode = 0;
    std::vector<std::string> Titles;
};

extern TScript Script;

// A fresh script: nothing held, clock at 0, window 800 x 600 that opens.
void ResetScript();
// A held key reads as pressed at every poll until released.
void HoldKey(int key);
void ReleaseKey(int key);
// A key pressed and released before the next poll: with sticky keys on it reads as pressed once.
void TapKey(int key);
