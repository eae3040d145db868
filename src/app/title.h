// SPDX-License-Identifier: MIT
// The window title: the game's name and the measured frame rate.
#pragma once

#include <string>

// The decimal separator of the player's numeric locale (or of the named one), in UTF-8; "." when
// the locale is unknown or gives none. Read the system's own way: from the environment's locale
// on POSIX systems, from the user's regional settings on Windows (locale names such as "fr-FR"
// there). The process's own numeric locale stays "C": GL drivers and other libraries parse
// numbers and break under a comma.
std::string ReadDecimalSeparator(const char* locale = nullptr);

// title = "Tarnwick Alpha (N.N FPS)": fixed notation, one digit after the separator, rounded half
// away from zero, no grouping. Reuses the string's storage.
void FormatTitle(std::string& title, double fps, const std::string& separator);
