// SPDX-License-Identifier: MIT
#include "control/control.h"

#include <cmath>

#include "collision/collision.h"
#include "platform/platform.h"
#include "world/board.h"
#include "world/game_state.h"
#include "world/geometry.h"

// A frame's amount is applied in equal sub-steps no larger than one frame's amount at 60 frames
// per second, each tried and refused on its own. A longer single step could carry the board
// across an obstacle without any corner landing inside it, or stop it far short of a wall.
static constexpr double MaxMoveSubStep = 0.25;
static constexpr double MaxTurnSubStep = 2.5;
static constexpr double MaxCameraSubStep = 0.25;

// A frame is never stepped as if it lasted longer than a second, so that after a stall (a
// suspended machine) one frame neither sweeps the board across the arena nor spends seconds
// in sub-steps.
static constexpr double SlowestStepRate = 1.0;

static bool KeyDown(int key) { return glfwGetKey(key) == GLFW_PRESS; }

static int SubStepCount(double amount, double maxSubStep)
{
    return static_cast<int>(Max(1.0, std::ceil(std::fabs(amount) / maxSubStep)));
}

static bool WithinArenaX(double x, double margin)
{
    return WithinRange(x, GameState.ArenaMinX, GameState.ArenaMaxX, margin);
}

static bool WithinArenaZ(double z, double margin)
{
    return WithinRange(z, GameState.ArenaMinZ, GameState.ArenaMaxZ, margin);
}

// The corner tests first; then the edge test, for a board that would lie across an obstacle's
// thin part with no corner of either inside the other (reachable in small steps past a sharp
// corner, and then deepened by sliding along).
static bool ClearOfObstacles() { return CornersClear() && VerticesClear() && EdgesClear(); }

static bool TurnedBoardAccepted()
{
    const TBoardCorners& c = GameState.BoardCorners;
    const double m = GameState.TurnMargin;
    return WithinArenaX(c[3].x, m) && WithinArenaX(c[2].x, m) && WithinArenaZ(c[3].z, m) &&
           WithinArenaZ(c[2].z, m) && WithinArenaX(c[0].x, m) && WithinArenaX(c[1].x, m) &&
           WithinArenaZ(c[0].z, m) && WithinArenaZ(c[1].z, m) && ClearOfObstacles();
}

static void TryTurn(double degrees)
{
    GameState.TrialHeading = GameState.Heading + degrees;
    PlaceBoard(GameState.PosX, GameState.PosZ, GameState.TrialHeading);
    if (TurnedBoardAccepted()) {
        GameState.Heading = GameState.TrialHeading;
    } else {
        PlaceBoard(GameState.PosX, GameState.PosZ, GameState.Heading);
    }
}

// One move along the heading, x first and then z, so that a board pushed against a wall or an
// obstacle face keeps the part of the move along it. Only the two leading corners are held to
// the arena: they include the corner furthest along the motion on each axis.
static void TryMove(double distance, int leadA, int leadB)
{
    const double h = ToRadians(GameState.Heading);
    GameState.TrialX = GameState.PosX + std::sin(h) * distance;
    GameState.TrialZ = GameState.PosZ + std::cos(h) * distance;
    const TBoardCorners& c = GameState.BoardCorners;

    PlaceBoard(GameState.TrialX, GameState.PosZ, GameState.Heading);
    if (WithinArenaX(c[leadA].x, 0) && WithinArenaX(c[leadB].x, 0) && ClearOfObstacles()) {
        GameState.PosX = GameState.TrialX;
    } else {
        PlaceBoard(GameState.PosX, GameState.PosZ, GameState.Heading);
    }

    PlaceBoard(GameState.PosX, GameState.TrialZ, GameState.Heading);
    if (WithinArenaZ(c[leadA].z, 0) && WithinArenaZ(c[leadB].z, 0) && ClearOfObstacles()) {
        GameState.PosZ = GameState.TrialZ;
    } else {
        PlaceBoard(GameState.PosX, GameState.PosZ, GameState.Heading);
    }
}

static void Turn(double degrees)
{
    const int n = SubStepCount(degrees, MaxTurnSubStep);
    for (int i = 0; i < n; ++i) {
        TryTurn(degrees / n);
    }
}

static void Move(double distance)
{
    const bool forwards = distance > 0;
    const int n = SubStepCount(distance, MaxMoveSubStep);
    for (int i = 0; i < n; ++i) {
        if (forwards) {
            TryMove(distance / n, 3, 2);
        } else {
            TryMove(distance / n, 0, 1);
        }
    }
}

// The limit is tested before each step, so the setting ends at most one sub-step past it.
static void MoveCamera(double change)
{
    const int n = SubStepCount(change, MaxCameraSubStep);
    for (int i = 0; i < n; ++i) {
        const bool mayMove = change < 0 ? GameState.CameraDistance >= ChaseCamera
                                        : !(GameState.CameraDistance > OverheadCamera);
        if (mayMove) {
            GameState.CameraDistance += change / n;
        }
    }
}

void StepControl()
{
    // The first frame has no rate yet (the loop gives 0 when no time has passed): no key then
    // makes a step, rather than an infinite or undefined one. A non-finite rate steps nothing too.
    const bool canStep = std::isfinite(GameState.Fps) && GameState.Fps > 0;
    const double step = GameState.Speed / Max(GameState.Fps, SlowestStepRate);
    const double turnStep = step * GameState.TurnFactor;

    // Each key is polled exactly once per frame, in this order, whether or not it can act: a
    // sticky press is used up by its first poll. Down is polled by each turn as well.
    if (KeyDown(GLFW_KEY_LEFT)) {
        const bool reversing = KeyDown(GLFW_KEY_DOWN);
        if (canStep) Turn(reversing ? turnStep : -turnStep);
    }
    if (KeyDown(GLFW_KEY_RIGHT)) {
        const bool reversing = KeyDown(GLFW_KEY_DOWN);
        if (canStep) Turn(reversing ? -turnStep : turnStep);
    }
    if (KeyDown('Z') && canStep) GameState.Tilt -= turnStep;
    if (KeyDown('S') && canStep) GameState.Tilt += turnStep;
    if (KeyDown('P') && canStep) MoveCamera(-step);
    if (KeyDown('M') && canStep) MoveCamera(step);
    if (KeyDown(GLFW_KEY_UP) && canStep) Move(step);
    if (KeyDown(GLFW_KEY_DOWN) && canStep) Move(-step);
    if (KeyDown(GLFW_KEY_SPACE)) ResetBoard();
}

void ResetBoard()
{
    GameState.PosX = 0;
    GameState.PosZ = 0;
    GameState.Heading = 0;
    GameState.Tilt = 0;
    GameState.CameraDistance = OverheadCamera;
    PlaceBoard(GameState.PosX, GameState.PosZ, GameState.Heading);
}
