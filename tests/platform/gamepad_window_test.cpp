// SPDX-License-Identifier: MIT
// Gamepads through the real GLFW library, in a real window on a private Xvfb display, with pads
// simulated below it (support/simulated_pad.h): each frame reads what the pads held at the swap
// before it.
#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <linux/input.h>

#include <chrono>
#include <string>

#include "control/control.h"
#include "platform/platform.h"
#include "support/game_keys_down.h"
#include "support/glfw_start.h"
#include "support/simulated_pad.h"
#include "support/x_client.h"
#include "world/game_state.h"

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

// Keys pressed on the X server's keyboard, as the player presses them, into the focused window.
void PressKeys(Display* x, std::initializer_list<KeySym> keys, bool down)
{
    for (const KeySym key : keys) XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), down, CurrentTime);
    XSync(x, False);
}

// Up and Left together from the centre for 26 frames at 60 a second: the board drives an arc
// until block 2's corner stops its turn, and slides on. The state once those keys read pressed.
TGameState ArcFrom(const std::string& holding)
{
    InitGameState();
    ResetBoard();
    for (int i = 0; i < 100 && GameKeysDown() != holding; ++i) glfwSwapBuffers();
    EXPECT_EQ(GameKeysDown(), holding);
    for (int frame = 0; frame < 26; ++frame) {
        glfwSwapBuffers();
        GameState.Fps = 60;
        StepControl();
    }
    return GameState;
}

TEST_F(RealGamepads, AKeyDrivingBesideAPadTurningIsBothKeysHeld)
{
    Display* x = XOpenRecordingErrors();
    ASSERT_NE(x, nullptr);
    glfwSetWindowTitle("Tarnwick Alpha (0.0 FPS)");
    const Window window = XWaitForWindow(x, "Tarnwick Alpha", std::chrono::seconds(5));
    ASSERT_NE(window, 0u);
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    PlugInPad(0, Xbox360Pad);

    PressKeys(x, {XK_Up}, true);
    MovePadAxis(0, ABS_HAT0X, -1);
    const TGameState byKeyAndPad = ArcFrom("Up Left");
    PressKeys(x, {XK_Up}, false);
    MovePadAxis(0, ABS_HAT0X, 0);

    PressKeys(x, {XK_Up, XK_Left}, true);
    const TGameState byKeys = ArcFrom("Up Left");
    PressKeys(x, {XK_Up, XK_Left}, false);
    XCloseDisplay(x);
    FreeGameState();

    EXPECT_LT(byKeys.Heading, -30) << "the board did not turn";
    EXPECT_EQ(byKeyAndPad.Heading, byKeys.Heading);
    EXPECT_EQ(byKeyAndPad.PosX, byKeys.PosX);
    EXPECT_EQ(byKeyAndPad.PosZ, byKeys.PosZ);
}

} // namespace
