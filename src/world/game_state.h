// SPDX-License-Identifier: MIT
// The one record of everything the game knows, and the built-in level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/geometry.h"

// The camera setting at its two ends: straight over the board, and behind it.
inline constexpr double OverheadCamera = 42.0;
inline constexpr double ChaseCamera = 21.0;

struct TGameState {
    int32_t WindowWidth;   // drawing area in pixels, read every frame by the camera
    int32_t WindowHeight;  // never below 1 once the camera has read it
    int32_t FrameCount;    // frames since the last title refresh
    double NowTime;        // clock at the start of the current frame, seconds
    double LastTitleTime;  // clock at the last title refresh
    double Fps;            // frames per second averaged since the last title refresh
    double CameraDistance; // OverheadCamera looks straight down, ChaseCamera follows behind the board
    double Tilt;           // degrees about the board's own x axis; drawn only, never collides
    double Heading;        // degrees, 0 faces +z, never wrapped
    double TrialHeading;
    double TurnMargin; // how far a corner may end beyond the arena after a turn
    double PosX;
    double TrialX;
    double PosZ;
    double TrialZ;
    double Speed;      // units (and camera setting) per second
    double TurnFactor; // degrees per second of turn and tilt = Speed * TurnFactor
    double ArenaMinX;
    double ArenaMaxX;
    double ArenaMinZ;
    double ArenaMaxZ;
    TBoardCorners BoardShape;   // the footprint in the board's own frame, front towards +z
    TBoardCorners BoardCorners; // the footprint placed in the arena, written by PlaceBoard
    std::vector<TBlock> Blocks;
    std::vector<TWedge> Wedges;
    std::string TitleText; // the window title last set
};

extern TGameState GameState;

// Fills GameState with the start values and the level. LastTitleTime is left to the frame loop.
void InitGameState();
// Releases the level's obstacle arrays at the end of the run.
void FreeGameState();
