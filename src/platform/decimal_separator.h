// SPDX-License-Identifier: MIT
// The decimal separator the player's own settings give, read once at start-up for the title.
#pragma once

#include <string>

// The decimal separator of the player's numeric locale (or of the named one), in UTF-8; "." when
// the locale is unknown or gives none. Read the system's own way: from the environment's locale
// on POSIX systems, from the user's regional settings on Windows (locale names such as "fr-FR"
// there), from the browser's language in a web page (language tags such as "fr-FR" there). The
// process's own numeric locale stays "C": GL drivers and other libraries parse numbers and break
// under a comma.
std::string ReadDecimalSeparator(const char* locale = nullptr);
