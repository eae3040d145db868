// SPDX-License-Identifier: MIT
// The simulated gamepads of the tests (support/simulated_pad.h) as a library to preload into the
// real game: with TARNWICK_SIMULATED_PAD=xbox360 an Xbox 360 pad is plugged in as the game starts,
// and with xbox360-driving the same pad with its left stick held up, so that the board drives
// from the first frames; without it, the library only stands in for /dev/input, with no pad there.
#include <linux/input.h>

#include <cstdlib>
#include <cstring>

#include "support/simulated_pad.h"

__attribute__((constructor)) static void PlugInTheNamedPad()
{
    const char* named = std::getenv("TARNWICK_SIMULATED_PAD");
    if (named != nullptr && std::strcmp(named, "xbox360") == 0) {
        PlugInPad(0, Xbox360Pad);
    } else if (named != nullptr && std::strcmp(named, "xbox360-driving") == 0) {
        TSimulatedPad driving = Xbox360Pad;
        for (TSimulatedAxis& axis : driving.Axes) {
            if (axis.Code == ABS_Y && axis.Maximum != 0) axis.Value = axis.Minimum;
        }
        PlugInPad(0, driving);
    }
}
