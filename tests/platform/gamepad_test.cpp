// SPDX-License-Identifier: MIT
// Gamepads as the game's keys, through the scripted platform: what each part of a pad holds, and
// how pads hold and let go beside the keyboard.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/platform.h"
#include "support/game_keys_down.h"
#include "support/scripted_platform.h"

namespace {

class Gamepads : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetScript();
        glfwInit();
        glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW);
        glfwEnable(GLFW_STICKY_KEYS);
    }
    void TearDown() override { ResetScript(); }

    // The keys the next frame reads as pressed, after the pads are read with the window's events.
    static std::string NextFrameKeys()
    {
        glfwSwapBuffers();
        return GameKeysDown();
    }
};

struct TPadCase {
    const char* Moved;
    void (*Move)(TPadReading& pad);
    const char* Keys;
};

const TPadCase PadCases[] = {
    {"nothing", [](TPadReading&) {}, ""},
    {"D-pad up", [](TPadReading& p) { p.Pressed[PadDpadUp] = true; }, "Up"},
    {"A", [](TPadReading& p) { p.Pressed[PadA] = true; }, "Up"},
    {"right trigger past half", [](TPadReading& p) { p.RightTrigger = 0.51; }, "Up"},
    {"right trigger at half", [](TPadReading& p) { p.RightTrigger = 0.5; }, ""},
    {"left stick up", [](TPadReading& p) { p.LeftY = -0.6; }, "Up"},
    {"D-pad down", [](TPadReading& p) { p.Pressed[PadDpadDown] = true; }, "Down"},
    {"B", [](TPadReading& p) { p.Pressed[PadB] = true; }, "Down"},
    {"left trigger", [](TPadReading& p) { p.LeftTrigger = 1; }, "Down"},
    {"left stick down", [](TPadReading& p) { p.LeftY = 1; }, "Down"},
    {"D-pad left", [](TPadReading& p) { p.Pressed[PadDpadLeft] = true; }, "Left"},
    {"D-pad right", [](TPadReading& p) { p.Pressed[PadDpadRight] = true; }, "Right"},
    {"left stick left", [](TPadReading& p) { p.LeftX = -0.9; }, "Left"},
    {"left stick right", [](TPadReading& p) { p.LeftX = 0.9; }, "Right"},
    {"left stick up and left", [](TPadReading& p) { p.LeftX = p.LeftY = -0.7; }, "Up Left"},
    {"a drifting stick", [](TPadReading& p) { p.LeftX = 0.24, p.LeftY = -0.2, p.RightY = 0.24; }, ""},
    {"a stick short of half-way", [](TPadReading& p) { p.LeftX = -0.45, p.RightY = 0.45; }, ""},
    {"right stick up", [](TPadReading& p) { p.RightY = -0.8; }, "Z"},
    {"right stick down", [](TPadReading& p) { p.RightY = 0.8; }, "S"},
    {"right bumper", [](TPadReading& p) { p.Pressed[PadRightBumper] = true; }, "P"},
    {"left bumper", [](TPadReading& p) { p.Pressed[PadLeftBumper] = true; }, "M"},
    {"Y", [](TPadReading& p) { p.Pressed[PadY] = true; }, "Space"},
    {"axes that are not numbers", [](TPadReading& p) { p.LeftX = p.RightY = p.RightTrigger = std::nan(""); },
     ""},
    {"axes out of range",
     [](TPadReading& p) { p.LeftX = 1.5, p.LeftY = -3, p.RightTrigger = 2, p.RightY = -1e9; }, ""},
    {"infinite axes", [](TPadReading& p) { p.LeftX = INFINITY, p.LeftTrigger = INFINITY; }, ""},
    {"an unmapped pad's buttons",
     [](TPadReading& p) {
         p.Standard = false, p.Pressed[PadA] = p.Pressed[PadY] = p.Pressed[PadRightBumper] = true;
     },
     ""},
    {"an unmapped pad's first axes",
     [](TPadReading& p) {
         p.Standard = false, p.LeftX = 0.8, p.LeftY = 0.8, p.RightY = -1, p.RightTrigger = 1;
     },
     "Down Right"},
};

TEST_F(Gamepads, EachPartOfAPadHoldsItsKey)
{
    for (const TPadCase& padCase : PadCases) {
        TPadReading& pad = Script.Pads[0] = TPadReading{};
        pad.Present = pad.Standard = true;
        padCase.Move(pad);
        EXPECT_EQ(NextFrameKeys(), padCase.Keys) << padCase.Moved;
        EXPECT_EQ(NextFrameKeys(), padCase.Keys) << padCase.Moved << ", held on";
        Script.Pads[0] = TPadReading{};
        NextFrameKeys(); // the sticky press of a key let go
        EXPECT_EQ(NextFrameKeys(), "") << padCase.Moved << ", let go";
    }
}

TEST_F(Gamepads, PadsAndTheKeyboardHoldAKeyTogether)
{
    Script.Pads[15].Present = Script.Pads[15].Standard = Script.Pads[15].Pressed[PadA] = true;
    Script.Pads[3] = Script.Pads[15];
    HoldKey(GLFW_KEY_LEFT);
    EXPECT_EQ(NextFrameKeys(), "Up Left");
    HoldKey(GLFW_KEY_UP);
    Script.Pads[15].Pressed[PadA] = false;
    Script.Pads[3] = TPadReading{}; // unplugged
    EXPECT_EQ(NextFrameKeys(), "Up Left");
    ReleaseKey(GLFW_KEY_UP);
    EXPECT_EQ(NextFrameKeys(), "Left") << "the pad let go before the keyboard";

    // A pad let go of reads pressed once more, as a released key does; one unplugged lets go at once.
    Script.Pads[15].Pressed[PadA] = true;
    EXPECT_EQ(NextFrameKeys(), "Up Left");
    Script.Pads[15].Pressed[PadA] = false;
    EXPECT_EQ(NextFrameKeys(), "Up Left");
    EXPECT_EQ(NextFrameKeys(), "Left");
    Script.Pads[15].Pressed[PadA] = true;
    EXPECT_EQ(NextFrameKeys(), "Up Left");
    Script.Pads[15] = TPadReading{};
    EXPECT_EQ(NextFrameKeys(), "Left");
}

} // namespace
