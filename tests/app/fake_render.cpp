// SPDX-License-Identifier: MIT
// Stands in for the GL drawing in tests of the frame loop: counts what the loop asked for.
#include "render/camera.h"
#include "render/scene.h"

int DrawingStateSetups = 0;
int CameraSetups = 0;
int SceneDraws = 0;

void SetupDrawingState() { ++DrawingStateSetups; }
void SetupCamera() { ++CameraSetups; }
void DrawScene() { ++SceneDraws; }
