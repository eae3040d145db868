// SPDX-License-Identifier: MIT
// Gamepads as the game's keys, one mapping on every platform. Each platform reads its pads once a
// frame, where it gathers input, into readings of the standard layout (the one both GLFW's gamepad
// API and the browser's "standard" mapping use); the pads then hold and let go of the game's keys
// as keys would, beside the keyboard and the touch controls.
//
//   Up      D-pad up, left stick up, right trigger, A
//   Down    D-pad down, left stick down, left trigger, B
//   Left    D-pad left, left stick left
//   Right   D-pad right, left stick right
//   Z / S   right stick up / down
//   P / M   right bumper / left bumper
//   Space   Y
//   Escape  none: no pad ends the game
#pragma once

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

// The keys the pads hold between one reading and the next.
struct TPadKeys {
    unsigned Held[MaxPads] = {}; // per pad, a bit for each key a pad can hold
    unsigned Stuck = 0;          // let go since the key was last asked for (sticky keys)
};

// Takes the pads as they are now (count readings, one per slot). A key a pad lets go of while
// sticky is on reads as pressed once more, as a released key does; a pad that is gone lets go of
// its keys at once.
void ReadPads(TPadKeys& keys, const TPadReading* pads, int count, bool sticky);
// Whether any pad holds the key (a GLFW 2 code), or let go of it since it was last asked: that
// reading uses up the sticky press.
bool PadsHoldKey(TPadKeys& keys, int key);
// Lets go of every key at once, as when the pads can no longer be read.
void LetGoOfPads(TPadKeys& keys);
