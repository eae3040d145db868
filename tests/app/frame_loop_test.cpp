// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "app/frame_loop.h"
#include "app/title.h"
#include "platform/decimal_separator.h"
#include "platform/platform.h"
#include "support/scripted_platform.h"
#include "world/game_state.h"

extern int DrawingStateSetups, CameraSetups, SceneDraws;

namespace {

struct TFrameRecord {
    int FrameCount;
    double Fps;
    size_t Titles;
};

class FrameLoop : public ::testing::Test {
protected:
    std::vector<TFrameRecord> Frames;

    void SetUp() override
    {
        ResetScript();
        DrawingStateSetups = CameraSetups = SceneDraws = 0;
    }
    // The script's pass callbacks refer to this fixture: none may outlive it.
    void TearDown() override { ResetScript(); }

    // Runs the game for the given number of frames, the clock advancing a fixed step per frame,
    // and records the timing fields as each frame left them.
    int Run(int frames, double secondsPerFrame)
    {
        Script.Clock = 100;
        Script.ClockStepPerPass = secondsPerFrame;
        Script.OnPass = [this, frames](int passes) {
            Frames.push_back({GameState.FrameCount, GameState.Fps, Script.Titles.size()});
            if (passes == frames) HoldKey(GLFW_KEY_ESC);
        };
        return RunGame();
    }
};

// The title for a rate, written with whatever separator the environment's locale gives: the
// separator is the title tests' business, the digits are this file's.
std::string Title(const char* whole, const char* tenth)
{
    return std::string("Tarnwick Alpha (") + whole + ReadDecimalSeparator() + tenth + " FPS)";
}

} // namespace

TEST_F(FrameLoop, OpensTheWindowItNeedsAndEndsWithStatusZeroOnEscape)
{
    EXPECT_EQ(Run(5, 0.01), 0);
    EXPECT_EQ(Script.OpenWidth, 800);
    EXPECT_EQ(Script.OpenHeight, 600);
    EXPECT_EQ(Script.OpenDepthBits, 8);
    EXPECT_EQ(Script.OpenMode, GLFW_WINDOW);
    EXPECT_TRUE(Script.StickyKeys);
    EXPECT_EQ(Script.SwapInterval, 0);
    EXPECT_EQ(DrawingStateSetups, 1);
    EXPECT_EQ(Script.SwapCount, 5) << "Escape ends the loop after the frame it is seen in";
    EXPECT_EQ(CameraSetups, 5);
    EXPECT_EQ(SceneDraws, 5);
    EXPECT_FALSE(Script.Initialised) << "the library is shut down";
    EXPECT_TRUE(GameState.Blocks.empty()) << "the level is released";
}

// Minimised or on a hidden workspace nobody sees a frame: such a pass leaves out the camera, the
// drawing and the swap, and only gathers events, while the game runs on. Seen again, the very
// next pass draws and shows the board where it now is.
TEST_F(FrameLoop, DrawsNothingWhileUnseenYetRunsOnAndDrawsAtOnceWhenSeenAgain)
{
    std::vector<int> drawnPasses;
    std::vector<double> unseenPositions;
    Script.Clock = 100;
    Script.ClockStepPerPass = 0.1;
    Script.OnPass = [&](int passes) {
        if (SceneDraws > static_cast<int>(drawnPasses.size())) drawnPasses.push_back(passes);
        if (Script.Unseen) unseenPositions.push_back(GameState.PosZ);
        Script.Unseen = passes >= 3 && passes < 30; // passes 4 to 30 are unseen
        if (passes == 5) HoldKey(GLFW_KEY_UP);
        if (passes == 31) HoldKey(GLFW_KEY_ESC);
    };
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(drawnPasses, (std::vector<int>{1, 2, 3, 31}));
    EXPECT_EQ(CameraSetups, 4);
    EXPECT_EQ(Script.SwapCount, 4);
    EXPECT_EQ(Script.PollCount, 27);
    ASSERT_EQ(unseenPositions.size(), 27u);
    EXPECT_GT(unseenPositions.back(), unseenPositions.front()) << "the board moved on while unseen";
    EXPECT_GE(Script.Titles.size(), 3u) << "the title kept its rate current while unseen";
}

TEST_F(FrameLoop, AClosedWindowEndsTheLoopAfterThatFrame)
{
    Script.OnPass = [](int passes) { Script.CloseRequested = passes == 3; };
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(Script.SwapCount, 3);
}

// Wayland turns a lost compositor into a close request: the game must still call it a failure.
TEST_F(FrameLoop, ALostDisplayEndsTheGameAsAFailureWithOneLine)
{
    Script.OnPass = [](int passes) {
        if (passes == 3) Script.LostDisplay = "lost the connection to the Wayland compositor";
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tarnwick: lost the connection to the Wayland compositor\n");
    EXPECT_EQ(Script.SwapCount, 3);
}

TEST_F(FrameLoop, ARefusedWindowIsAFailureAndDrawsNothing)
{
    Script.RefuseWindow = true;
    Script.ErrorText = "no display";
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tarnwick: cannot open the window: no display\n");
    EXPECT_FALSE(Script.Initialised);
    EXPECT_EQ(Script.SwapCount, 0);
    EXPECT_EQ(CameraSetups + SceneDraws + DrawingStateSetups, 0);
    EXPECT_TRUE(Script.Titles.empty());
}

TEST_F(FrameLoop, TheFirstFrameShowsZeroEvenOnAnUnchangedClock)
{
    Run(1, 0);
    ASSERT_EQ(Script.Titles.size(), 1u);
    EXPECT_EQ(Script.Titles[0], Title("0", "0"));
    EXPECT_EQ(Frames[0].Fps, 0);
}

TEST_F(FrameLoop, AtOneHundredFramesASecondTheTitleShowsAboutOneHundredOnceASecond)
{
    Run(350, 0.01);
    ASSERT_EQ(Script.Titles.size(), 4u);
    for (size_t i = 1; i < Script.Titles.size(); ++i) {
        EXPECT_EQ(Script.Titles[i], Title("100", "0"));
    }
}

TEST_F(FrameLoop, RefreshesOnTheFirstFrameAfterMoreThanASecondAndRestartsTheCount)
{
    Run(400, 1.0 / 128); // exact binary steps: one second is exactly 128 frames
    std::vector<size_t> refreshFrames;
    for (size_t i = 0; i < Frames.size(); ++i) {
        if (i == 0 || Frames[i].Titles != Frames[i - 1].Titles) {
            refreshFrames.push_back(i);
            EXPECT_EQ(Frames[i].FrameCount, 1) << "frame " << i;
        }
    }
    EXPECT_EQ(refreshFrames, (std::vector<size_t>{0, 129, 258, 387}));
    EXPECT_EQ(Script.Titles[1], Title("128", "0")) << "129 frames counted over 129/128 s";
    EXPECT_EQ(Frames[130].Fps, 128) << "one frame over one frame's time";
}

TEST_F(FrameLoop, TheRateIsFramesOverTimeSinceTheLastRefresh)
{
    // Frames alternate between 1/64 and 3/64 of a second: 32 per second on average.
    Script.OnPass = [this](int passes) {
        Frames.push_back({GameState.FrameCount, GameState.Fps, Script.Titles.size()});
        Script.Clock += passes % 2 ? 1.0 / 64 : 3.0 / 64;
        if (passes == 40) HoldKey(GLFW_KEY_ESC);
    };
    RunGame();
    EXPECT_EQ(Frames[10].Fps, 32) << "10 frames in 10/32 s";
    ASSERT_EQ(Script.Titles.size(), 2u);
    EXPECT_EQ(Script.Titles[1], Title("32", "5")) << "33 frames in 65/64 s";
}
