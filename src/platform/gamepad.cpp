// SPDX-License-Identifier: MIT
#include "platform/gamepad.h"

#include <cmath>

#include "platform/glfw2_keys.h"

// The keys a pad can hold, a bit each.
enum TPadKey : unsigned { UpKey, DownKey, LeftKey, RightKey, ZKey, SKey, PKey, MKey, SpaceKey, PadKeyCount };
// clang-format off
static const int PadKeyCodes[PadKeyCount] = {
    Glfw2KeyUp, Glfw2KeyDown, Glfw2KeyLeft, Glfw2KeyRight, 'Z', 'S', 'P', 'M', Glfw2KeySpace};
// clang-format on

// A stick direction or a trigger holds its key past half its travel; a worn stick's drift, well
// short of that, holds nothing.
static constexpr double HoldingTravel = 0.5;

static double Within(double value, double lowest, double highest)
{
    return std::isfinite(value) && value >= lowest && value <= highest ? value : 0;
}

static unsigned Bit(bool held, TPadKey key) { return held ? 1u << key : 0; }

// The keys one axis of a stick holds, pushed past half-way to either end: a diagonal holds two.
static unsigned AxisKeys(double value, TPadKey negative, TPadKey positive)
{
    value = Within(value, -1, 1);
    return Bit(value < -HoldingTravel, negative) | Bit(value > HoldingTravel, positive);
}

static bool Pulled(double trigger) { return Within(trigger, 0, 1) > HoldingTravel; }

static unsigned KeysOf(const TPadReading& pad)
{
    if (!pad.Present) {
        return 0;
    }
    const unsigned leftStick = AxisKeys(pad.LeftX, LeftKey, RightKey) | AxisKeys(pad.LeftY, UpKey, DownKey);
    if (!pad.Standard) {
        return leftStick;
    }
    // The right stick tilts the board: pushed up, the nose goes down (Z), as a flight stick's.
    const unsigned rightStick = AxisKeys(pad.RightY, ZKey, SKey);
    const bool* pressed = pad.Pressed;
    return leftStick | rightStick |
           Bit(pressed[PadDpadUp] || pressed[PadA] || Pulled(pad.RightTrigger), UpKey) |
           Bit(pressed[PadDpadDown] || pressed[PadB] || Pulled(pad.LeftTrigger), DownKey) |
           Bit(pressed[PadDpadLeft], LeftKey) | Bit(pressed[PadDpadRight], RightKey) |
           Bit(pressed[PadRightBumper], PKey) | Bit(pressed[PadLeftBumper], MKey) |
           Bit(pressed[PadY], SpaceKey);
}

void ReadPads(TPadKeys& keys, const TPadReading* pads, int count, bool sticky)
{
    unsigned held = 0;
    for (int slot = 0; slot < MaxPads; ++slot) {
        const bool present = slot < count && pads[slot].Present;
        const unsigned now = present ? KeysOf(pads[slot]) : 0;
        if (present && sticky) {
            keys.Stuck |= keys.Held[slot] & ~now;
        }
        keys.Held[slot] = now;
        held |= now;
    }
    keys.Stuck &= ~held;
}

bool PadsHoldKey(TPadKeys& keys, int key)
{
    for (unsigned i = 0; i < PadKeyCount; ++i) {
        if (PadKeyCodes[i] != key) {
            continue;
        }
        const unsigned bit = 1u << i;
        bool held = false;
        for (const unsigned pad : keys.Held) {
            held = held || (pad & bit) != 0;
        }
        const bool stuck = (keys.Stuck & bit) != 0;
        keys.Stuck &= ~bit;
        return held || stuck;
    }
    return false;
}

void LetGoOfPads(TPadKeys& keys) { keys = TPadKeys{}; }
