// SPDX-License-Identifier: MIT
#include "platform/gamepad.h"

#include <cmath>
#include <string_view>

#include "platform/platform.h"

// The inputs of a pad that can hold a key, by the names the controls' table gives them.
enum class TPadInput {
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    LeftStickUp,
    LeftStickDown,
    LeftStickLeft,
    LeftStickRight,
    RightStickUp,
    RightStickDown,
    LeftTrigger,
    RightTrigger,
    A,
    B,
    Y,
    LeftBumper,
    RightBumper
};

struct TPadInputName {
    std::string_view Name;
    TPadInput Input;
};
static constexpr TPadInputName PadInputNames[] = {
    {"D-pad up", TPadInput::DpadUp},
    {"D-pad down", TPadInput::DpadDown},
    {"D-pad left", TPadInput::DpadLeft},
    {"D-pad right", TPadInput::DpadRight},
    {"left stick up", TPadInput::LeftStickUp},
    {"left stick down", TPadInput::LeftStickDown},
    {"left stick left", TPadInput::LeftStickLeft},
    {"left stick right", TPadInput::LeftStickRight},
    {"right stick up", TPadInput::RightStickUp},
    {"right stick down", TPadInput::RightStickDown},
    {"left trigger", TPadInput::LeftTrigger},
    {"right trigger", TPadInput::RightTrigger},
    {"A", TPadInput::A},
    {"B", TPadInput::B},
    {"Y", TPadInput::Y},
    {"left bumper", TPadInput::LeftBumper},
    {"right bumper", TPadInput::RightBumper},
};

// A key and the pad inputs that hold it.
struct TPadBinding {
    int Key;
    TPadInput Inputs[4];
    int InputCount;
};

// The binding the controls' table gives a key, its inputs named in a list ("D-pad up, A"), read
// as the game is compiled: a name no pad input has fails the build.
static consteval TPadBinding Binding(int key, std::string_view names)
{
    TPadBinding binding = {key, {}, 0};
    while (!names.empty()) {
        const std::string_view::size_type comma = names.find(", ");
        const std::string_view name = names.substr(0, comma);
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 2);
        int found = -1;
        for (int i = 0; i < static_cast<int>(std::size(PadInputNames)); ++i) {
            found = PadInputNames[i].Name == name ? i : found;
        }
        if (found < 0 || binding.InputCount == static_cast<int>(std::size(binding.Inputs))) {
            throw "the controls' table names a pad input the game does not know, or too many";
        }
        binding.Inputs[binding.InputCount++] = PadInputNames[found].Input;
    }
    return binding;
}

static constexpr TPadBinding PadBindings[] = {
#define CONTROL(code, gamepad) Binding(code, gamepad),
#include "controls.inc"
#undef CONTROL
};

// A stick direction or a trigger holds its key past half its travel; a worn stick's drift, well
// short of that, holds nothing.
static constexpr double HoldingTravel = 0.5;

static double Within(double value, double lowest, double highest)
{
    return std::isfinite(value) && value >= lowest && value <= highest ? value : 0;
}

// Pushed past half-way towards -1 (direction -1) or 1 (direction 1): a diagonal holds two.
static bool Pushed(double axis, int direction) { return Within(axis, -1, 1) * direction > HoldingTravel; }

static bool Pulled(double trigger) { return Within(trigger, 0, 1) > HoldingTravel; }

// Whether the input holds its key. A pad not in the standard layout has its left stick alone.
static bool InputHeld(const TPadReading& pad, TPadInput input)
{
    switch (input) {
    case TPadInput::LeftStickUp: return Pushed(pad.LeftY, -1);
    case TPadInput::LeftStickDown: return Pushed(pad.LeftY, 1);
    case TPadInput::LeftStickLeft: return Pushed(pad.LeftX, -1);
    case TPadInput::LeftStickRight: return Pushed(pad.LeftX, 1);
    default: break;
    }
    if (!pad.Standard) {
        return false;
    }
    const bool* pressed = pad.Pressed;
    switch (input) {
    case TPadInput::DpadUp: return pressed[PadDpadUp];
    case TPadInput::DpadDown: return pressed[PadDpadDown];
    case TPadInput::DpadLeft: return pressed[PadDpadLeft];
    case TPadInput::DpadRight: return pressed[PadDpadRight];
    case TPadInput::RightStickUp: return Pushed(pad.RightY, -1);
    case TPadInput::RightStickDown: return Pushed(pad.RightY, 1);
    case TPadInput::LeftTrigger: return Pulled(pad.LeftTrigger);
    case TPadInput::RightTrigger: return Pulled(pad.RightTrigger);
    case TPadInput::A: return pressed[PadA];
    case TPadInput::B: return pressed[PadB];
    case TPadInput::Y: return pressed[PadY];
    case TPadInput::LeftBumper: return pressed[PadLeftBumper];
    case TPadInput::RightBumper: return pressed[PadRightBumper];
    default: return false;
    }
}

void ReadPads(THeldKeys& keys, const TPadReading* pads, int count, bool sticky)
{
    static const char* const Sources[MaxPads] = {"pad 0",  "pad 1",  "pad 2",  "pad 3", "pad 4",  "pad 5",
                                                 "pad 6",  "pad 7",  "pad 8",  "pad 9", "pad 10", "pad 11",
                                                 "pad 12", "pad 13", "pad 14", "pad 15"};
    for (int slot = 0; slot < MaxPads; ++slot) {
        if (slot >= count || !pads[slot].Present) {
            SourceLetsGoOfKey(keys, Sources[slot], AnyHeldKey, false);
            continue;
        }
        for (const TPadBinding& binding : PadBindings) {
            bool held = false;
            for (int i = 0; i < binding.InputCount; ++i) {
                held = held || InputHeld(pads[slot], binding.Inputs[i]);
            }
            if (held) {
                SourceHoldsKey(keys, Sources[slot], binding.Key);
            } else {
                SourceLetsGoOfKey(keys, Sources[slot], binding.Key, sticky);
            }
        }
    }
}
