// An exact overlap test of two convex polygons, independent of the game's own collision code:
// they overlap unless the normal of some edge of either one separates them. Polygons that only
// touch (projections meeting within the tolerance) do not overlap.
#pragma once

#include <cmath>
#include <span>

#include "world/game_state.h"

inline bool SeparatedAlongEdgeNormals(std::span<const TFloorPoint> edges, std::span<const TFloorPoint> a,
                                      std::span<const TFloorPoint> b, double tolerance)
{
    for (size_t i = 0; i < edges.size(); ++i) {
        const TFloorPoint& p = edges[i];
        const TFloorPoint& q = edges[(i + 1) % edges.size()];
        const double length = std::hypot(q.x - p.x, q.z - p.z);
        const double nx = -(q.z - p.z) / length, nz = (q.x - p.x) / length;
        double minA = INFINITY, maxA = -INFINITY, minB = INFINITY, maxB = -INFINITY;
        for (const TFloorPoint& v : a) {
            minA = std::fmin(minA, v.x * nx + v.z * nz);
            maxA = std::fmax(maxA, v.x * nx + v.z * nz);
        }
        for (const TFloorPoint& v : b) {
            minB = std::fmin(minB, v.x * nx + v.z * nz);
            maxB = std::fmax(maxB, v.x * nx + v.z * nz);
        }
        if (maxA <= minB + tolerance || maxB <= minA + tolerance) {
            return true;
        }
    }
    return false;
}

inline bool ConvexPolygonsOverlap(std::span<const TFloorPoint> a, std::span<const TFloorPoint> b,
                                  double tolerance = 1e-9)
{
    return !SeparatedAlongEdgeNormals(a, a, b, tolerance) && !SeparatedAlongEdgeNormals(b, a, b, tolerance);
}

// The number of obstacles the placed board overlaps.
inline int ObstaclesOverlappingBoard()
{
    int count = 0;
    for (const TBlock& block : GameState.Blocks) {
        count += ConvexPolygonsOverlap(GameState.BoardCorners, block);
    }
    for (const TWedge& wedge : GameState.Wedges) {
        count += ConvexPolygonsOverlap(GameState.BoardCorners, wedge);
    }
    return count;
}
