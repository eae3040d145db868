// SPDX-License-Identifier: MIT
// The window title: the game's name and the measured frame rate.
#pragma once

#include <string>

// title = "Tarnwick Alpha (N.N FPS)": fixed notation, one digit after the separator, rounded half
// away from zero, no grouping. Reuses the string's storage.
void FormatTitle(std::string& title, double fps, const std::string& separator);
