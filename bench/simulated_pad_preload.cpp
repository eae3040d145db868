// SPDX-License-Identifier: MIT
// The simulated gamepads of the tests (tests/support/simulated_pad.h) as a library to preload into
// the real game: with TARNWICK_SIMULATED_PAD=xbox360 an Xbox 360 pad is plugged in as the game
// starts; without it, the library only stands in for /dev/input, with no pad there.
#include <cstdlib>
#include <cstring>

#include "support/simulated_pad.h"

__attribute__((constructor)) static void PlugInTheNamedPad()
{
    const char* named = std::getenv("TARNWICK_SIMULATED_PAD");
    if (named != nullptr && std::strcmp(named, "xbox360") == 0) {
        PlugInPad(0, Xbox360Pad);
    }
}
