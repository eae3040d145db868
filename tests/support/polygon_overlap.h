// SPDX-License-Identifier: MIT
// An exact overlap test of two convex polygons, independent of the game's own collision code:
// they overlap unless the normal of some edge of either one separates them. Polygons that only
// touch (projections meeting within the tolerance) do not overlap.
#pragma once

#include <cmath>
#include <span>

#include "world/game_state.h"

// The interval a polygon covers along the direction (nx, nz).
inline void ProjectOnto(std::span<const TFloorPoint> polygon, double nx, double nz, double& low, double& high)
{
    low = INFINITY;
    high = -INFINITY;
    for (const TFloorPoint& v : polygon) {
        low = std::fmin(low, v.x * nx + v.z * nz);
        high = std::fmax(high, v.x * nx + v.z * nz);
    }
}

inline bool SeparatedAlongEdgeNormals(std::span<const TFloorPoint> edges, std::span<const TFloorPoint> a,
                                      std::span<const TFloorPoint> b, double tolerance)
{
    for (size_t i = 0; i < edges.size(); ++i) {
        const TFloorPoint& p = edges[i];
        const TFloorPoint& q = edges[(i + 1) % edges.size()];
        const double length = std::hypot(q.x - p.x, q.z - p.z);
        const double nx = -(q.z - p.z) / length, nz = (q.x - p.x) / length;
        double lowA, highA, lowB, highB;
        ProjectOnto(a, nx, nz, lowA, highA);
        ProjectOnto(b, nx, nz, lowB, highB);
        if (highA <= lowB + tolerance || highB <= lowA + tolerance) {
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

// Strictly inside a counter-clockwise convex polygon: left of every edge.
inline bool StrictlyInside(std::span<const TFloorPoint> polygon, TFloorPoint p)
{
    for (size_t i = 0; i < polygon.size(); ++i) {
        const TFloorPoint &a = polygon[i], &b = polygon[(i + 1) % polygon.size()];
        if ((b.x - a.x) * (p.z - a.z) - (b.z - a.z) * (p.x - a.x) <= 0) return false;
    }
    return true;
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
