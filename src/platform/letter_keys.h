// SPDX-License-Identifier: MIT
// Finding the key that produces a letter on the player's keyboard layout.
#pragma once

#include <span>

// The text a key produces on the current layout, or nullptr when it produces none.
using TKeyNameLookup = const char* (*)(int key);

// The first of keys whose name is the letter (either case), trying usPosition first; usPosition
// itself when no key produces the letter.
int FindLetterKey(char letter, int usPosition, std::span<const int> keys, TKeyNameLookup keyName);
