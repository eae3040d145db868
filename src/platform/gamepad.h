// SPDX-License-Identifier: MIT
// Gamepads as the game's keys, one mapping on every platform. Each platform reads its pads once a
// frame, where it gathers input, into readings of the standard layout (the one both GLFW's gamepad
// API and the browser's "standard" mapping use); the pads then hold and let go of the game's keys
// as keys would, beside the keyboard and the touch controls.
//
// The keys a pad holds, made from src/platform/controls.tsv by scripts/make-controls:
//   Left    D-pad left, left stick left
//   Right   D-pad right, left stick right
//   Up      D-pad up, left stick up, right trigger, A
//   Down    D-pad down, left stick down, left trigger, B
//   Z       right stick up
//   S       right stick down
//   P       right bumper
//   M       left bumper
//   Space   Y
//   Escape  none: no pad ends the game
//
#pragma once

#include "platform/held_keys.h"

// Pads read at once; GLFW knows no more joysticks than this.
inline constexpr int MaxPads = 16;

// The buttons of the standard layout that the game uses (A the bottom face button).
enum TPadButton : int {
    PadA,
    PadB,
    PadY,
    PadLeftBumper,
    PadRightBumper,
    PadDpadUp,
    PadDpadDown,
    PadDpadLeft,
    PadDpadRight,
    PadButtonCount
};

// One pad as its platform reads it, in what the game uses of it. Sticks run from -1 to 1, left
// and up negative; triggers from 0 at rest to 1 pressed fully. A pad its platform does not lay out
// in the standard layout (Standard false) fills in the left stick alone, from its first two axes.
// A value that is not a number, or lies outside its range, counts as the stick or trigger at rest.
struct TPadReading {
    bool Present = false;
    bool Standard = false;
    bool Pressed[PadButtonCount] = {};
    double LeftX = 0, LeftY = 0, RightY = 0;
    double LeftTrigger = 0, RightTrigger = 0;
};

// Takes the pads as they are now (count readings, one per slot): each pad, as the source "pad N",
// holds and lets go of the game's keys in the record (held_keys.h), a key let go of reading as
// pressed once more where sticky is on; a pad that is gone lets go of its keys at once.
void ReadPads(THeldKeys& keys, const TPadReading* pads, int count, bool sticky);
