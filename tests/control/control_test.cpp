// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "collision/collision.h"
#include "control/control.h"
#include "platform/platform.h"
#include "support/polygon_overlap.h"
#include "support/scripted_platform.h"
#include "world/board.h"
#include "world/game_state.h"

namespace {

class Control : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetScript();
        Script.StickyKeys = true;
        InitGameState();
    }

    static void Place(double x, double z, double heading)
    {
        GameState.PosX = x;
        GameState.PosZ = z;
        GameState.Heading = heading;
        PlaceBoard(x, z, heading);
    }

    static void RunFrames(int frames, double fps)
    {
        for (int i = 0; i < frames; ++i) {
            GameState.Fps = fps;
            StepControl();
        }
    }

    static double FrontZ() { return Max(GameState.BoardCorners[2].z, GameState.BoardCorners[3].z); }
};

bool AllFinite()
{
    const TGameState& s = GameState;
    for (double v :
         {s.PosX, s.PosZ, s.Heading, s.Tilt, s.CameraDistance, s.TrialX, s.TrialZ, s.TrialHeading}) {
        if (!std::isfinite(v)) return false;
    }
    for (const TFloorPoint& c : s.BoardCorners) {
        if (!std::isfinite(c.x) || !std::isfinite(c.z)) return false;
    }
    return true;
}

void ExpectCornersDescribeTheBoard()
{
    const TBoardCorners placed = GameState.BoardCorners;
    PlaceBoard(GameState.PosX, GameState.PosZ, GameState.Heading);
    for (int k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(placed[k].x, GameState.BoardCorners[k].x);
        EXPECT_DOUBLE_EQ(placed[k].z, GameState.BoardCorners[k].z);
    }
}

} // namespace

TEST_F(Control, UpMovesAheadAtFifteenUnitsASecondAndStopsShortOfTheWall)
{
    HoldKey(GLFW_KEY_UP);
    RunFrames(100, 100);
    EXPECT_NEAR(GameState.PosZ, 15, 1e-9);
    EXPECT_NEAR(GameState.PosX, 0, 1e-9);
    RunFrames(100, 100);
    EXPECT_LE(FrontZ(), 24);
    EXPECT_GT(FrontZ(), 24 - 0.15);
    ExpectCornersDescribeTheBoard();
}

TEST_F(Control, ABoardDrivenDiagonallyIntoTheWallSlidesAlongIt)
{
    Place(0, 19, 45);
    HoldKey(GLFW_KEY_UP);
    RunFrames(20, 100);
    const double wallZ = GameState.PosZ, startX = GameState.PosX;
    EXPECT_GT(FrontZ(), 24 - 0.15 * std::cos(std::numbers::pi / 4));
    RunFrames(50, 100);
    EXPECT_EQ(GameState.PosZ, wallZ);
    EXPECT_NEAR(GameState.PosX - startX, 50 * 0.15 * std::sin(std::numbers::pi / 4), 1e-9);
}

TEST_F(Control, ATurnNextToTheWallIsAllowedOnlyWithinTheMargin)
{
    Place(31.5, 0, 0); // right side 1.5 units from the wall x = 34
    HoldKey(GLFW_KEY_RIGHT);
    int accepted = 0, refused = 0;
    for (int frame = 0; frame < 40; ++frame) {
        const double before = GameState.Heading;
        PlaceBoard(GameState.PosX, GameState.PosZ, before + 1.5);
        double widest = -INFINITY;
        for (const TFloorPoint& c : GameState.BoardCorners) widest = Max(widest, c.x);
        PlaceBoard(GameState.PosX, GameState.PosZ, before);

        RunFrames(1, 100);
        if (widest <= 34.05) {
            EXPECT_DOUBLE_EQ(GameState.Heading, before + 1.5);
            ++accepted;
        } else {
            EXPECT_EQ(GameState.Heading, before);
            ++refused;
        }
        ExpectCornersDescribeTheBoard();
    }
    EXPECT_GT(accepted, 5);
    EXPECT_GT(refused, 5);
}

TEST_F(Control, TurnKeysAreReversedWhileDownIsHeldAndCombineInOneFrame)
{
    Place(0, 0, 0);
    HoldKey(GLFW_KEY_LEFT);
    RunFrames(1, 100);
    EXPECT_DOUBLE_EQ(GameState.Heading, -1.5);

    Place(0, 0, 0);
    HoldKey(GLFW_KEY_DOWN);
    RunFrames(1, 100);
    EXPECT_DOUBLE_EQ(GameState.Heading, 1.5);

    Place(0, 0, 0);
    ReleaseKey(GLFW_KEY_DOWN);
    HoldKey(GLFW_KEY_RIGHT);
    RunFrames(10, 100);
    EXPECT_NEAR(GameState.Heading, 0, 1e-12);

    ReleaseKey(GLFW_KEY_LEFT);
    ReleaseKey(GLFW_KEY_RIGHT);
    HoldKey(GLFW_KEY_UP);
    HoldKey(GLFW_KEY_DOWN);
    RunFrames(10, 100);
    EXPECT_NEAR(GameState.PosZ, 0, 1e-12);
}

TEST_F(Control, ATappedDownIsUsedUpByATurnAndDoesNotMoveTheBoard)
{
    HoldKey(GLFW_KEY_LEFT);
    TapKey(GLFW_KEY_DOWN);
    RunFrames(1, 100);
    EXPECT_DOUBLE_EQ(GameState.Heading, 1.5);
    EXPECT_EQ(GameState.PosX, 0);
    EXPECT_EQ(GameState.PosZ, 0);
}

TEST_F(Control, TheCameraStopsOneStepPastEachLimit)
{
    HoldKey('P');
    int steps = 0;
    for (double last = GameState.CameraDistance;; last = GameState.CameraDistance) {
        RunFrames(1, 100);
        if (GameState.CameraDistance == last) break;
        ++steps;
    }
    EXPECT_EQ(steps, 141);
    EXPECT_NEAR(GameState.CameraDistance, 20.85, 1e-9);

    ReleaseKey('P');
    HoldKey('M');
    RunFrames(200, 100);
    EXPECT_GT(GameState.CameraDistance, 42);
    EXPECT_LE(GameState.CameraDistance, 42.15);
}

TEST_F(Control, TiltChangesWithoutMovingTheFootprint)
{
    HoldKey('S');
    RunFrames(60, 100);
    EXPECT_NEAR(GameState.Tilt, 90, 1e-9);
    ExpectCornersDescribeTheBoard();
}

TEST_F(Control, SpaceRestoresTheStartFromAnywhere)
{
    Place(20, -20, 123);
    GameState.Tilt = NAN;
    GameState.CameraDistance = INFINITY;
    TapKey(GLFW_KEY_SPACE);
    RunFrames(1, 100);
    EXPECT_EQ(GameState.PosX, 0);
    EXPECT_EQ(GameState.PosZ, 0);
    EXPECT_EQ(GameState.Heading, 0);
    EXPECT_EQ(GameState.Tilt, 0);
    EXPECT_EQ(GameState.CameraDistance, 42);
    const double expected[4][2] = {{-1.5, -4}, {1.5, -4}, {1.5, 4}, {-1.5, 4}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(GameState.BoardCorners[k].x, expected[k][0], 1e-12);
        EXPECT_NEAR(GameState.BoardCorners[k].z, expected[k][1], 1e-12);
    }
}

TEST_F(Control, NoKeyStepsOnAFrameWithoutAUsableRate)
{
    for (int key : {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, int('Z'), int('S'), int('P'), int('M'), GLFW_KEY_UP,
                    GLFW_KEY_DOWN}) {
        HoldKey(key);
    }
    for (double fps : {0.0, std::nan(""), -5.0, double(INFINITY)}) {
        RunFrames(1, fps);
        EXPECT_TRUE(AllFinite()) << "rate " << fps;
        EXPECT_EQ(GameState.PosX, 0);
        EXPECT_EQ(GameState.PosZ, 0);
        EXPECT_EQ(GameState.Heading, 0);
        EXPECT_EQ(GameState.Tilt, 0);
        EXPECT_EQ(GameState.CameraDistance, 42);
    }
}

// At one frame a second a step is 15 units, longer than block 0 is thick; sub-steps stop the
// board at the obstacle's face or the wall, never inside or beyond.
TEST_F(Control, ASlowFrameStopsTheBoardAtObstaclesAndWalls)
{
    HoldKey(GLFW_KEY_UP);

    Place(-11.5, -20, 0); // below block 0, whose lower face is z = -10
    for (int frame = 0; frame < 4; ++frame) {
        RunFrames(1, 1);
        EXPECT_EQ(ObstaclesOverlappingBoard(), 0);
    }
    EXPECT_LE(FrontZ(), -10);
    EXPECT_GT(FrontZ(), -10.25);

    Place(6.1, 0, 90); // left of wedge 0's corner (20, 0)
    for (int frame = 0; frame < 4; ++frame) {
        RunFrames(1, 1);
        EXPECT_EQ(ObstaclesOverlappingBoard(), 0);
    }
    EXPECT_LT(GameState.PosX, 20 - 4);
    Place(GameState.PosX + 0.25, GameState.PosZ, 90);
    EXPECT_GT(ObstaclesOverlappingBoard(), 0) << "stopped more than a sub-step short of the wedge";

    Place(0, 0, 0);
    RunFrames(3, 1);
    EXPECT_LE(FrontZ(), 24);
    EXPECT_GT(FrontZ(), 24 - 0.25);
}

// A frame after a long stall (a suspended machine) steps as far as a one-second frame, at once.
TEST_F(Control, AFrameAfterAStallStepsNoFurtherThanAOneSecondFrame)
{
    HoldKey(GLFW_KEY_UP);
    RunFrames(1, 1e-6);
    EXPECT_NEAR(GameState.PosZ, 15, 1e-9);
}

// Random play at random frame rates: the board never leaves the arena (widened by the turn
// margin), never overlaps an obstacle, and no field becomes infinite or NaN.
TEST_F(Control, RandomPlayKeepsTheBoardInTheArenaAndClearOfObstacles)
{
    const int keys[] = {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, 'Z', 'S', 'P', 'M', GLFW_KEY_UP, GLFW_KEY_DOWN};
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> unit(0, 1), logRate(0, std::log(10000.0));
    const int frames = 200000;
    int overlaps = 0, escapes = 0, nonFinite = 0, firstBadFrame = -1;
    bool visited[68][48] = {};
    const double m = GameState.TurnMargin;

    for (int frame = 0; frame < frames; ++frame) {
        if (unit(random) < 0.05) { // a new set of held keys now and then
            for (int key : keys) unit(random) < 0.35 ? HoldKey(key) : ReleaseKey(key);
        }
        if (unit(random) < 0.0005) TapKey(GLFW_KEY_SPACE);
        if (unit(random) < 0.02) TapKey(keys[random() % 8]);

        RunFrames(1, std::exp(logRate(random)));

        bool escaped = false;
        for (const TFloorPoint& c : GameState.BoardCorners) {
            escaped |= !WithinRange(c.x, GameState.ArenaMinX, GameState.ArenaMaxX, m) ||
                       !WithinRange(c.z, GameState.ArenaMinZ, GameState.ArenaMaxZ, m);
        }
        const bool finite = AllFinite();
        const bool overlapping = ObstaclesOverlappingBoard() > 0;
        nonFinite += !finite;
        escapes += escaped;
        overlaps += overlapping;
        if (firstBadFrame < 0 && (!finite || escaped || overlapping)) firstBadFrame = frame;
        if (finite) visited[int(GameState.PosX + 34) % 68][int(GameState.PosZ + 24) % 48] = true;
    }
    int cells = 0;
    for (auto& column : visited)
        for (bool v : column) cells += v;
    std::printf(
        "%d frames of random play: %d overlaps, %d escapes, %d non-finite; %d of 3264 unit cells visited\n",
        frames, overlaps, escapes, nonFinite, cells);
    EXPECT_EQ(overlaps + escapes + nonFinite, 0) << "first at frame " << firstBadFrame;
    EXPECT_GT(cells, 1000) << "random play should roam the arena";
}
