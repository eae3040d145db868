// SPDX-License-Identifier: MIT
#include "collision/collision.h"

#include <cmath>
#include <span>

#include "world/game_state.h"
#include "world/geometry.h"

bool WithinRange(double value, double low, double high, double margin)
{
    if (high + margin < value) {
        return false;
    }
    return low - margin <= value;
}

bool EdgeTest(double e1x, double e1z, double e2x, double e2z, double px, double pz)
{
    if (std::fabs(e2x - e1x) <= 0.0001) {
        return true;
    }
    const double zLine = e2z + (e2z - e1z) / (e2x - e1x) * (px - e2x);
    return (zLine < pz) == (e1x < e2x);
}

bool PointInPolygon(std::span<const TFloorPoint> corners, TFloorPoint p)
{
    double minX = corners[0].x, maxX = corners[0].x;
    double minZ = corners[0].z, maxZ = corners[0].z;
    for (const TFloorPoint& c : corners.subspan(1)) {
        minX = Min(minX, c.x);
        maxX = Max(maxX, c.x);
        minZ = Min(minZ, c.z);
        maxZ = Max(maxZ, c.z);
    }
    if (!(maxX >= p.x && minX <= p.x && maxZ >= p.z && minZ <= p.z)) {
        return false;
    }

    const size_t n = corners.size();
    for (size_t i = 0; i < n; ++i) {
        const TFloorPoint& e1 = corners[i];
        const TFloorPoint& e2 = corners[(i + 1) % n];
        if (!EdgeTest(e1.x, e1.z, e2.x, e2.z, p.x, p.z)) {
            return false;
        }
    }
    return true;
}

// Every pair of board corner and obstacle is examined: a hit does not end the search. Within one
// pair the point test still stops at the bounding box or the first failed edge.
bool CornersClear()
{
    bool collides = false;
    for (const TFloorPoint& corner : GameState.BoardCorners) {
        for (const TBlock& block : GameState.Blocks) {
            collides |= PointInPolygon(block, corner);
        }
        for (const TWedge& wedge : GameState.Wedges) {
            collides |= PointInPolygon(wedge, corner);
        }
    }
    return !collides;
}

bool VerticesClear()
{
    bool collides = false;
    for (const TBlock& block : GameState.Blocks) {
        for (const TFloorPoint& corner : block) {
            collides |= PointInPolygon(GameState.BoardCorners, corner);
        }
    }
    for (const TWedge& wedge : GameState.Wedges) {
        for (const TFloorPoint& corner : wedge) {
            collides |= PointInPolygon(GameState.BoardCorners, corner);
        }
    }
    return !collides;
}

// Twice the signed area of the triangle o, a, b: positive when b lies left of the line o -> a.
static double Cross(TFloorPoint o, TFloorPoint a, TFloorPoint b)
{
    return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x);
}

static bool OnOppositeSides(double a, double b) { return (a > 0 && b < 0) || (a < 0 && b > 0); }

// Segments that cross at a point inside both; touching or meeting at an end does not count.
static bool SegmentsCross(TFloorPoint p1, TFloorPoint p2, TFloorPoint q1, TFloorPoint q2)
{
    return OnOppositeSides(Cross(q1, q2, p1), Cross(q1, q2, p2)) &&
           OnOppositeSides(Cross(p1, p2, q1), Cross(p1, p2, q2));
}

static bool BoardCrosses(std::span<const TFloorPoint> obstacle)
{
    const TBoardCorners& board = GameState.BoardCorners;
    for (size_t i = 0; i < board.size(); ++i) {
        for (size_t j = 0; j < obstacle.size(); ++j) {
            if (SegmentsCross(board[i], board[(i + 1) % board.size()], obstacle[j],
                              obstacle[(j + 1) % obstacle.size()])) {
                return true;
            }
        }
    }
    return false;
}

bool EdgesClear()
{
    for (const TBlock& block : GameState.Blocks) {
        if (BoardCrosses(block)) return false;
    }
    for (const TWedge& wedge : GameState.Wedges) {
        if (BoardCrosses(wedge)) return false;
    }
    return true;
}
