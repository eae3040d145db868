// SPDX-License-Identifier: MIT
// The game's keys as the sources that hold them: a physical key, a touch control, a gamepad, a
// test's script. Each source names itself ("KeyW", "control ArrowUp", "pad 2"); a key (a GLFW 2
// code) is down while any source holds it. With sticky keys, a key whose last source lets go of it
// reads as down once more, at its next poll, which uses that press up: a key pressed and let go of
// between two polls is not lost.
#pragma once

inline constexpr int HeldKeyCodes = 512; // the GLFW 2 codes the record keeps, 0 to 511
inline constexpr int AnyHeldKey = -1;    // every key a source holds, where a call takes a key

struct THold {
    char Source[32];
    int Key;
};

struct THeldKeys {
    THold Holds[256];
    int HoldCount = 0;
    bool Stuck[HeldKeyCodes] = {}; // let go of with sticky keys on, and not polled since
};

// The source holds the key; a hold it has already changes nothing.
void SourceHoldsKey(THeldKeys& keys, const char* source, int key);
// The source lets go of the key (of every key it holds, for AnyHeldKey); with sticky on, a key that
// nothing holds any more stays down until its next poll. False when the source held no such key.
bool SourceLetsGoOfKey(THeldKeys& keys, const char* source, int key, bool sticky);
// Every key let go of at once, with no press left to read: the sources can no longer be heard.
void LetGoOfAllKeys(THeldKeys& keys);
// Whether a source holds the key, or it is stuck down: that poll uses the stuck press up.
bool PollHeldKey(THeldKeys& keys, int key);
