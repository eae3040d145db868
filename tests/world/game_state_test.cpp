// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <span>

#include "world/game_state.h"

static void ExpectPoints(std::span<const TFloorPoint> actual, std::initializer_list<TFloorPoint> expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    size_t i = 0;
    for (const TFloorPoint& e : expected) {
        EXPECT_EQ(actual[i].x, e.x) << "corner " << i;
        EXPECT_EQ(actual[i].z, e.z) << "corner " << i;
        ++i;
    }
}

TEST(GameState, StartsWithTheTuningValuesAndTheBoardAtTheCentre)
{
    GameState.PosX = 7;
    GameState.TitleText = "stale";
    InitGameState();
    const TGameState& s = GameState;
    EXPECT_EQ(s.WindowWidth, 0);
    EXPECT_EQ(s.WindowHeight, 0);
    EXPECT_EQ(s.FrameCount, 0);
    EXPECT_EQ(s.NowTime, 0);
    EXPECT_EQ(s.Fps, 0);
    EXPECT_EQ(s.CameraDistance, 42.0);
    EXPECT_EQ(s.Tilt, 0);
    EXPECT_EQ(s.Heading, 0);
    EXPECT_EQ(s.TrialHeading, 0);
    EXPECT_EQ(s.TurnMargin, 0.05);
    EXPECT_EQ(s.PosX, 0);
    EXPECT_EQ(s.TrialX, 0);
    EXPECT_EQ(s.PosZ, 0);
    EXPECT_EQ(s.TrialZ, 0);
    EXPECT_EQ(s.Speed, 15.0);
    EXPECT_EQ(s.TurnFactor, 10.0);
    EXPECT_EQ(s.ArenaMinX, -34.0);
    EXPECT_EQ(s.ArenaMaxX, 34.0);
    EXPECT_EQ(s.ArenaMinZ, -24.0);
    EXPECT_EQ(s.ArenaMaxZ, 24.0);
    EXPECT_TRUE(s.TitleText.empty());
    ExpectPoints(s.BoardShape, {{-1.5, -4}, {1.5, -4}, {1.5, 4}, {-1.5, 4}});
    ExpectPoints(s.BoardCorners, {{-1.5, -4}, {1.5, -4}, {1.5, 4}, {-1.5, 4}});
}

TEST(GameState, HoldsTheLevelAndReleasesItAtTheEnd)
{
    InitGameState();
    ASSERT_EQ(GameState.Blocks.size(), 4u);
    ASSERT_EQ(GameState.Wedges.size(), 2u);
    ExpectPoints(GameState.Blocks[0], {{-15, -10}, {-8, -10}, {-8, -8}, {-15, -8}});
    ExpectPoints(GameState.Blocks[1], {{10, 5}, {15, 8}, {16, 18}, {13, 15}});
    ExpectPoints(GameState.Blocks[2], {{-17, 5}, {-5, 5}, {-5, 17}, {-17, 17}});
    ExpectPoints(GameState.Blocks[3], {{3, -18}, {17, -16}, {10, -4}, {4, -12}});
    ExpectPoints(GameState.Wedges[0], {{20, 0}, {28, -18}, {25, 15}});
    ExpectPoints(GameState.Wedges[1], {{-15, 5}, {-28, 18}, {-23, -10}});

    // Every obstacle is convex and counter-clockwise: every turn is to the left.
    auto convexCounterClockwise = [](std::span<const TFloorPoint> q) {
        for (size_t i = 0; i < q.size(); ++i) {
            const TFloorPoint &a = q[i], &b = q[(i + 1) % q.size()], &c = q[(i + 2) % q.size()];
            if ((b.x - a.x) * (c.z - b.z) - (b.z - a.z) * (c.x - b.x) <= 0) return false;
        }
        return true;
    };
    for (const TBlock& block : GameState.Blocks) EXPECT_TRUE(convexCounterClockwise(block));
    for (const TWedge& wedge : GameState.Wedges) EXPECT_TRUE(convexCounterClockwise(wedge));

    FreeGameState();
    EXPECT_EQ(GameState.Blocks.capacity(), 0u);
    EXPECT_EQ(GameState.Wedges.capacity(), 0u);
}
