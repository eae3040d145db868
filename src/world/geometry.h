// SPDX-License-Identifier: MIT
// Plain geometry of the floor plane, shared by every part of the game.
#pragma once

#include <array>
#include <numbers>

// A point on the floor (the GL x-z plane) in arena units: x to the right, z upwards as the
// overhead camera shows the arena at heading 0.
struct TFloorPoint {
    double x;
    double z;
};

// Convex obstacles and the board's footprint, corners counter-clockwise in the (x right, z up)
// sense. Board corners: 0 rear-left, 1 rear-right, 2 front-right, 3 front-left.
using TBlock = std::array<TFloorPoint, 4>;
using TWedge = std::array<TFloorPoint, 3>;
using TBoardCorners = std::array<TFloorPoint, 4>;

constexpr double ToRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }
constexpr double Min(double a, double b) { return a < b ? a : b; }
constexpr double Max(double a, double b) { return a > b ? a : b; }
