// SPDX-License-Identifier: MIT
// Placing the board's footprint in the arena.
#pragma once

// Writes GameState.BoardCorners: the board centred at (x, z) and turned headingDeg degrees,
// the same rotation GL applies to the drawn board, so the drawn and the tested board coincide.
// Reads only the half-width and half-length from BoardShape[2]; writes nothing else.
void PlaceBoard(double x, double z, double headingDeg);
