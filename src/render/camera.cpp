// SPDX-License-Identifier: MIT
#include "render/camera.h"

#include <cmath>

#include "platform/platform.h"
#include "render/gl_headers.h"
#include "world/game_state.h"
#include "world/geometry.h"

void SetupDrawingState()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
}

void SetupCamera()
{
    glfwGetWindowSize(&GameState.WindowWidth, &GameState.WindowHeight);
    if (GameState.WindowHeight < 1) {
        GameState.WindowHeight = 1;
    }
    glViewport(0, 0, GameState.WindowWidth, GameState.WindowHeight);

    glClearColor(0, 0, 0, 0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClear(GL_COLOR_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, static_cast<double>(GameState.WindowWidth) / GameState.WindowHeight, 1.0, 100.0);

    // The scene hangs below the camera along +y (the floor at SceneY + FloorDepth, scene.h). The eye slides
    // from straight over the board (D = OverheadCamera) to 21 units behind it (D = ChaseCamera).
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double h = ToRadians(GameState.Heading);
    const double d = GameState.CameraDistance;
    const double behind = OverheadCamera - d;
    gluLookAt(GameState.PosX - std::sin(h) * behind, 40 - d, GameState.PosZ - std::cos(h) * behind,
              GameState.PosX, d, GameState.PosZ, std::sin(h), 0, std::cos(h));
}
