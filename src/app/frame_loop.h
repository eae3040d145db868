// SPDX-License-Identifier: MIT
// The program: start-up, the frame loop and shut-down.
#pragma once

// Runs the game until Escape or a close request and returns the exit status: 0 after play, 1 when
// the window cannot be opened or the display goes away (after one line to the player naming the
// cause).
int RunGame();
