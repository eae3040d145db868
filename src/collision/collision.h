// SPDX-License-Identifier: MIT
// Collision tests between the placed board (GameState.BoardCorners), the arena limits and the
// obstacles. Every polygon is convex with its corners counter-clockwise; the containment rule
// depends on that. None of these changes state or allocates.
#pragma once

#include <span>

#include "world/geometry.h"

// True when low - margin <= value <= high + margin. A NaN value is never within range.
bool WithinRange(double value, double low, double high, double margin);

// True when P lies on the inner side of the directed edge E1 -> E2 of a counter-clockwise
// polygon: strictly above a lower edge (running towards +x), on or below an upper edge.
// A (near-)vertical edge always passes; the bounding box that precedes it stands in for it.
bool EdgeTest(double e1x, double e1z, double e2x, double e2z, double px, double pz);

// Bounding box first (inclusive), then each edge in order, closing edge last.
bool PointInPolygon(std::span<const TFloorPoint> corners, TFloorPoint p);

// True when no board corner lies inside any block or wedge.
bool CornersClear();
// True when no block or wedge corner lies inside the board.
bool VerticesClear();

// True when no edge of the board crosses an edge of a block or wedge. The two corner tests miss
// a board lying across an obstacle with no corner of either inside the other; this one sees it.
bool EdgesClear();
