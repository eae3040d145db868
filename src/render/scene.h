// SPDX-License-Identifier: MIT
// Drawing the board, the arena floor and the obstacles, in immediate mode from the game state.
#pragma once

// Draws one frame's scene under the camera SetupCamera placed: the board with its axes, the floor,
// every block and every wedge. Reads the state only; leaves the model-view matrix as it found it.
void DrawScene();
