// SPDX-License-Identifier: MIT
// The program: start-up, the frame loop and shut-down.
#pragma once

// Runs the game until Escape or a close request and returns the exit status: 0 after play, 1 when
// the window cannot be opened or the display goes away (after one line to the player naming the
// cause). It is StartGame, RunFrame until that returns false, then EndGame; where the platform
// owns the loop (a web page), the platform calls RunFrame instead.
int RunGame();

// Start-up: masks floating-point exceptions, opens the window, sets the GL state, fills the game
// state and takes the first time stamp. False, after one line to the player, when the window
// cannot be opened.
bool StartGame();
// One pass of the frame loop: timing, control, title, camera and drawing, buffer swap (events are
// gathered there), exit test; while the window is unseen, no drawing and no swap, only the
// gathering of events. False once the player has asked to stop.
bool RunFrame();
// Shut-down after the last pass; the exit status, as RunGame returns it.
int EndGame();
