// SPDX-License-Identifier: MIT
// The game in a web page. Start-up is the desktop's; then the browser owns the loop and calls for
// one pass of the same frame loop per animation frame, until the player ends the game.
#include "app/frame_loop.h"
#include "platform/platform.h"

static bool PassOrEnd()
{
    if (RunFrame()) {
        return true;
    }
    EndGame();
    return false;
}

int main()
{
    if (StartGame()) {
        PlatformRunEachAnimationFrame(PassOrEnd);
    }
    return 0;
}
