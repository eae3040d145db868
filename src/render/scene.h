// SPDX-License-Identifier: MIT
// Drawing the board, the arena floor and the obstacles, in immediate mode from the game state.
#pragma once

// Heights along GL's y axis, which points away from the camera: the board and the arena are drawn
// from SceneY, and the floor lies FloorDepth beyond it (y = 30.5), where the obstacles stand.
inline constexpr float SceneY = 30;
inline constexpr float FloorDepth = 0.5f;

// Draws one frame's scene under the camera SetupCamera placed: the board with its axes, the floor,
// every block and every wedge. Reads the state only; leaves the model-view matrix as it found it.
void DrawScene();
