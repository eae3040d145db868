// SPDX-License-Identifier: MIT
// The player's control of the board, run once per frame after the frame rate is measured.
#pragma once

// Polls the bound keys once each, in a fixed order, and applies the action of every key that is
// down. Turns and moves are tried on a candidate placement and refused when a tested corner leaves
// the arena, when the board and an obstacle hold a corner of each other, or when an edge of the
// board crosses an edge of an obstacle; a refused candidate leaves the board where it was. Tilt
// and camera change without a test; Space resets the board.
//   Left / Right  turn (reversed while Down is held)    Z / S  tilt
//   P / M         camera towards chase / overhead view  Up / Down  move   Space  reset
void StepControl();

// The board back at the centre facing +z, untilted, under the overhead camera.
void ResetBoard();
