// SPDX-License-Identifier: MIT
#include "world/board.h"

#include <cmath>
#include <numbers>

#include "world/game_state.h"
#include "world/geometry.h"

void PlaceBoard(double x, double z, double headingDeg)
{
    const double pi = std::numbers::pi;
    const double halfWidth = GameState.BoardShape[2].x;
    const double halfLength = GameState.BoardShape[2].z;

    // Each corner sits on the half-diagonal circle at its own polar angle about the centre.
    const double alpha = std::atan(halfLength / halfWidth);
    const double radius = std::sqrt(halfLength * halfLength + halfWidth * halfWidth);
    const double t = ToRadians(headingDeg);
    const double angles[4] = {-t - (pi - alpha), -t - alpha, alpha - t, (pi - alpha) - t};

    for (int k = 0; k < 4; ++k) {
        GameState.BoardCorners[k] = {x + radius * std::cos(angles[k]), z + radius * std::sin(angles[k])};
    }
}
