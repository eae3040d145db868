// SPDX-License-Identifier: MIT
#include "platform/letter_keys.h"

#include <cctype>
#include <span>

static bool Produces(TKeyNameLookup keyName, int key, char letter)
{
    const char* name = keyName(key);
    return name != nullptr && name[0] != '\0' && name[1] == '\0' &&
           std::toupper(static_cast<unsigned char>(name[0])) ==
               std::toupper(static_cast<unsigned char>(letter));
}

int FindLetterKey(char letter, int usPosition, std::span<const int> keys, TKeyNameLookup keyName)
{
    if (Produces(keyName, usPosition, letter)) {
        return usPosition;
    }
    for (int key : keys) {
        if (Produces(keyName, key, letter)) {
            return key;
        }
    }
    return usPosition;
}
