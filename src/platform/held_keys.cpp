// SPDX-License-Identifier: MIT
#include "platform/held_keys.h"

#include <cstdio>
#include <cstring>
#include <iterator>

static bool ValidKey(int key) { return key >= 0 && key < HeldKeyCodes; }

// A source's name is kept as far as it fits: names alike that far are one source.
static bool Holding(const THold& hold, const char* source, int key)
{
    return (key == AnyHeldKey || hold.Key == key) &&
           std::strncmp(hold.Source, source, sizeof hold.Source - 1) == 0;
}

static bool Held(const THeldKeys& keys, int key)
{
    for (int i = 0; i < keys.HoldCount; ++i) {
        if (keys.Holds[i].Key == key) {
            return true;
        }
    }
    return false;
}

void SourceHoldsKey(THeldKeys& keys, const char* source, int key)
{
    if (!ValidKey(key) || keys.HoldCount == static_cast<int>(std::size(keys.Holds))) {
        return;
    }
    for (int i = 0; i < keys.HoldCount; ++i) {
        if (Holding(keys.Holds[i], source, key)) {
            return;
        }
    }
    THold& hold = keys.Holds[keys.HoldCount++];
    std::snprintf(hold.Source, sizeof hold.Source, "%s", source);
    hold.Key = key;
    keys.Stuck[key] = false;
}

bool SourceLetsGoOfKey(THeldKeys& keys, const char* source, int key, bool sticky)
{
    bool held = false;
    for (int i = 0; i < keys.HoldCount;) {
        if (!Holding(keys.Holds[i], source, key)) {
            ++i;
            continue;
        }
        const int letGo = keys.Holds[i].Key;
        keys.Holds[i] = keys.Holds[--keys.HoldCount];
        keys.Stuck[letGo] = keys.Stuck[letGo] || (sticky && !Held(keys, letGo));
        held = true;
    }
    return held;
}

void LetGoOfAllKeys(THeldKeys& keys) { keys = THeldKeys{}; }

bool PollHeldKey(THeldKeys& keys, int key)
{
    if (!ValidKey(key)) {
        return false;
    }
    const bool stuck = keys.Stuck[key];
    keys.Stuck[key] = false;
    return stuck || Held(keys, key);
}
