// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "world/board.h"
#include "world/game_state.h"

static void ExpectCorners(std::initializer_list<TFloorPoint> expected)
{
    size_t i = 0;
    for (const TFloorPoint& e : expected) {
        EXPECT_NEAR(GameState.BoardCorners[i].x, e.x, 1e-12) << "corner " << i;
        EXPECT_NEAR(GameState.BoardCorners[i].z, e.z, 1e-12) << "corner " << i;
        ++i;
    }
}

TEST(PlaceBoard, PutsTheFrontCornersAheadAlongTheHeading)
{
    InitGameState();
    PlaceBoard(0, 0, 0);
    ExpectCorners({{-1.5, -4}, {1.5, -4}, {1.5, 4}, {-1.5, 4}});
    PlaceBoard(0, 0, 90);
    ExpectCorners({{-4, 1.5}, {-4, -1.5}, {4, -1.5}, {4, 1.5}});
    PlaceBoard(10, -5, 180);
    ExpectCorners({{11.5, -1}, {8.5, -1}, {8.5, -9}, {11.5, -9}});
}

TEST(PlaceBoard, IgnoresWholeTurnsAndAcceptsNegativeHeadings)
{
    InitGameState();
    for (double h : {-725.0, -30.0, 0.0, 17.5, 135.0, 359.0}) {
        PlaceBoard(3, -2, h);
        const TBoardCorners once = GameState.BoardCorners;
        PlaceBoard(3, -2, h + 360);
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(GameState.BoardCorners[k].x, once[k].x, 1e-12);
            EXPECT_NEAR(GameState.BoardCorners[k].z, once[k].z, 1e-12);
        }
    }
}

// GL draws the board by rotating each shape corner headingDeg about +y, with the matrix
// [c 0 s; 0 1 0; -s 0 c]: the tested footprint must be exactly what is drawn.
TEST(PlaceBoard, CoincidesWithTheBoardAsGLRotatesIt)
{
    InitGameState();
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> position(-40, 40), heading(-1000, 1000);
    for (int trial = 0; trial < 10000; ++trial) {
        const double x = position(random), z = position(random), h = heading(random);
        PlaceBoard(x, z, h);
        const double c = std::cos(h * std::numbers::pi / 180), s = std::sin(h * std::numbers::pi / 180);
        for (int k = 0; k < 4; ++k) {
            const TFloorPoint shape = GameState.BoardShape[k];
            ASSERT_NEAR(GameState.BoardCorners[k].x, x + c * shape.x + s * shape.z, 1e-9);
            ASSERT_NEAR(GameState.BoardCorners[k].z, z - s * shape.x + c * shape.z, 1e-9);
        }
    }
}

TEST(PlaceBoard, NonFiniteInputsGiveNonFiniteCorners)
{
    InitGameState();
    const double nan = std::nan(""), inf = INFINITY;
    for (auto [x, z, h] : {std::tuple{0.0, 0.0, nan}, {nan, 0.0, 0.0}, {0.0, inf, 0.0}, {-inf, 0.0, 10.0}}) {
        PlaceBoard(x, z, h);
        for (const TFloorPoint& corner : GameState.BoardCorners) {
            EXPECT_FALSE(std::isfinite(corner.x) && std::isfinite(corner.z));
        }
    }
}
