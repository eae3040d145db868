// SPDX-License-Identifier: MIT
// The viewport, the projection and the camera, set once per frame before the scene is drawn.
#pragma once

// GL state set once after the window opens: the depth test, and nothing else.
void SetupDrawingState();

// Fits the viewport to the drawing area, clears, and places the camera from the board's position,
// heading and CameraDistance: 42 looks straight down with the board pointing up the screen, 21
// follows behind the board. Leaves the model-view matrix holding the view for the drawing.
void SetupCamera();
