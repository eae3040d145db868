// SPDX-License-Identifier: MIT
// Gamepads through the real GLFW library, in a real window on a private Xvfb display, with pads
// simulated below it (support/simulated_pad.h): each frame reads what the pads held at the swap
// before it.
#include <gtest/gtest.h>

#include <linux/input.h>

#include <string>

#include "platform/platform.h"
#include "support/game_keys_down.h"
#include "support/glfw_start.h"
#include "support/simulated_pad.h"

namespace {

class RealGamepads : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartGlfw()) << PlatformErrorText();
        ASSERT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 1) << PlatformErrorText();
        glfwEnable(GLFW_STICKY_KEYS);
    }
    void TearDown() override
    {
        glfwTerminate();
        UnplugPad(0);
    }

    // The game keys the next frame reads as pressed.
    static std::string NextFrameKeys()
    {
        glfwSwapBuffers();
        return GameKeysDown();
    }
};

TEST_F(RealGamepads, APadInTheDatabaseDrivesSteersAndTilts)
{
    PlugInPad(0, Xbox360Pad);
    EXPECT_EQ(NextFrameKeys(), "");
    PressPadButton(0, BTN_A, true);
    PressPadButton(0, BTN_TR, true);
    EXPECT_EQ(NextFrameKeys(), "Up P");
    PressPadButton(0, BTN_A, false);
    PressPadButton(0, BTN_TR, false);
    EXPECT_EQ(NextFrameKeys(), "Up P") << "a key let go reads pressed once more";
    EXPECT_EQ(NextFrameKeys(), "");

    MovePadAxis(0, ABS_X, -24000); // past half-way left
    MovePadAxis(0, ABS_RY, -30000);
    EXPECT_EQ(NextFrameKeys(), "Left Z");
    MovePadAxis(0, ABS_X, 6000); // a drifting stick
    MovePadAxis(0, ABS_Y, -7000);
    MovePadAxis(0, ABS_RY, 5000);
    NextFrameKeys();
    EXPECT_EQ(NextFrameKeys(), "");
    MovePadAxis(0, ABS_Z, 200); // the left trigger
    MovePadAxis(0, ABS_HAT0X, 1);
    EXPECT_EQ(NextFrameKeys(), "Down Right");
}

TEST_F(RealGamepads, AJoystickOutsideTheDatabaseSteersWithItsFirstTwoAxes)
{
    PlugInPad(0, UnknownJoystick);
    PressPadButton(0, BTN_TRIGGER, true);
    MovePadAxis(0, ABS_THROTTLE, 255);
    EXPECT_EQ(NextFrameKeys(), "");
    MovePadAxis(0, ABS_X, 255);
    MovePadAxis(0, ABS_Y, 0);
    EXPECT_EQ(NextFrameKeys(), "Up Right");
}

TEST_F(RealGamepads, APadPluggedInWhileTheGameRunsAndPulledOutWhileHeld)
{
    EXPECT_EQ(NextFrameKeys(), "");
    PlugInPad(0, Xbox360Pad);
    PressPadButton(0, BTN_Y, true);
    PressPadButton(0, BTN_TL, true);
    EXPECT_EQ(NextFrameKeys(), "M Space");
    UnplugPad(0);
    EXPECT_EQ(NextFrameKeys(), "") << "a pad pulled out lets go at once";
}

} // namespace
