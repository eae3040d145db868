// SPDX-License-Identifier: MIT
// The window title: the game's name and the measured frame rate.
#pragma once

#include <string>

// The decimal separator of the player's numeric locale, "." when it gives none. Read without
// switching the process's own numeric locale, which stays "C": GL drivers and other libraries
// parse numbers and break under a comma.
std::string ReadDecimalSeparator();

// title = "Tarnwick Alpha (N.N FPS)": fixed notation, one digit after the separator, rounded half
// away from zero, no grouping. Reuses the string's storage.
void FormatTitle(std::string& title, double fps, const std::string& separator);
