// SPDX-License-Identifier: MIT
#include "world/game_state.h"

#include <vector>

#include "world/geometry.h"

TGameState GameState;

void InitGameState()
{
    TGameState& s = GameState;
    s.WindowWidth = 0;
    s.WindowHeight = 0;
    s.FrameCount = 0;
    s.NowTime = 0;
    s.LastTitleTime = 0;
    s.Fps = 0;
    s.CameraDistance = OverheadCamera;
    s.Tilt = 0.0;
    s.Heading = 0.0;
    s.TrialHeading = 0;
    s.TurnMargin = 0.05;
    s.PosX = 0.0;
    s.TrialX = 0;
    s.PosZ = 0.0;
    s.TrialZ = 0;
    s.Speed = 15.0;
    s.TurnFactor = 10.0;
    s.ArenaMinX = -34.0;
    s.ArenaMaxX = 34.0;
    s.ArenaMinZ = -24.0;
    s.ArenaMaxZ = 24.0;
    s.BoardShape = {{{-1.5, -4.0}, {1.5, -4.0}, {1.5, 4.0}, {-1.5, 4.0}}};
    s.BoardCorners = s.BoardShape;
    s.TitleText.clear();

    s.Blocks = {
        {{{-15, -10}, {-8, -10}, {-8, -8}, {-15, -8}}},
        {{{10, 5}, {15, 8}, {16, 18}, {13, 15}}},
        {{{-17, 5}, {-5, 5}, {-5, 17}, {-17, 17}}},
        {{{3, -18}, {17, -16}, {10, -4}, {4, -12}}},
    };
    s.Wedges = {
        {{{20, 0}, {28, -18}, {25, 15}}},
        {{{-15, 5}, {-28, 18}, {-23, -10}}},
    };
}

void FreeGameState()
{
    // Moving an empty array in releases the old storage, which clear() would keep.
    GameState.Wedges = std::vector<TWedge>();
    GameState.Blocks = std::vector<TBlock>();
}
