// SPDX-License-Identifier: MIT
// The viewport, the projection and the camera, set once per frame before the scene is drawn.
#pragma once

// GL state set once after the window opens: the depth test, and nothing else.
void SetupDrawingState();

// Fits the viewport to the drawing area, clears, and places the camera from the board's position,
// heading and CameraDistance: OverheadCamera looks straight down with the board pointing up the
// screen, ChaseCamera follows behind the board. Leaves the model-view matrix holding the view for
// the drawing.
void SetupCamera();
