#include "collision/collision.h"

#include <cmath>

#include "world/game_state.h"

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

// Every pair is examined, with no early exit, so the cost of a test never depends on the answer.
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
