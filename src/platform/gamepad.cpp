// SPDX-License-Identifier: MIT
#include "platform/gamepad.h"

#include <cmath>

#include "platform/glfw2_keys.h"

// The keys a pad can hold, a bit each.
enum TPadKey : unsigned { PadUp, PadDown, PadLeft, PadRight, PadZ, PadS, PadP, PadM, PadSpace, PadKeyCount };
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
    const unsigned leftStick = AxisKeys(pad.LeftX, PadLeft, PadRight) | AxisKeys(pad.LeftY, PadUp, PadDown);
    if (!pad.Standard) {
        return leftStick;
    }
    // The right stick tilts the board: pushed up, the nose goes down (Z), as a flight stick's.
    const unsigned rightStick = AxisKeys(pad.RightY, PadZ, PadS);
    return leftStick | rightStick | Bit(pad.DpadUp || pad.A || Pulled(pad.RightTrigger), PadUp) |
           Bit(pad.DpadDown || pad.B || Pulled(pad.LeftTrigger), PadDown) | Bit(pad.DpadLeft, PadLeft) |
           Bit(pad.DpadRight, PadRight) | Bit(pad.RightBumper, PadP) | Bit(pad.LeftBumper, PadM) |
           Bit(pad.Y, PadSpace);
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
