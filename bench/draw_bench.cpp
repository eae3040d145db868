// SPDX-License-Identifier: MIT
// CPU cost of issuing one frame's drawing (DrawScene's 160 vertices) to GL. The camera set-up with
// its clears and the wait for the driver to rasterise (glFinish) are left out of the timing;
// bench/run's frame-rate comparison covers them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/scene.h"
#include "world/game_state.h"

// One window for the whole run: the benchmark body runs several times, and reconnecting to the
// X server in quick succession within one process now and then fails under Xvfb.
static bool OpenWindowOnce()
{
    static const bool opened =
        glfwInit() == 1 && glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW) == 1;
    return opened;
}

static void BM_DrawScene(benchmark::State& state)
{
    if (!OpenWindowOnce()) {
        static std::string reason;
        reason = std::string("no window (run under tests/run_with_xvfb.sh): ") + PlatformErrorText();
        state.SkipWithError(reason.c_str());
        return;
    }
    SetupDrawingState();
    InitGameState();
    for (auto _ : state) {
        state.PauseTiming();
        glFinish();
        SetupCamera();
        state.ResumeTiming();
        DrawScene();
    }
}
BENCHMARK(BM_DrawScene);

// Polling the four letter keys as the control step does once a frame: each poll looks the letter
// up on the current keyboard layout (bench/run times it on a US and on a Russian layout, where no
// key produces a Latin letter and every printable key is tried). The letters are looked up only
// once the window has had a key event, so Shift is pressed in it first.
static void BM_PollLetterKeys(benchmark::State& state)
{
    if (!OpenWindowOnce()) {
        state.SkipWithError("no window (run under tests/run_with_xvfb.sh)");
        return;
    }
    glfwSetWindowTitle("Tarnwick Alpha letter keys");
    glfwSwapBuffers();
    if (std::system("xdotool search --sync --name '^Tarnwick Alpha letter keys$' windowfocus --sync "
                    "key --window %1 shift >/dev/null 2>&1") != 0) {
        state.SkipWithError("cannot press a key in the window (xdotool)");
        return;
    }
    for (int frame = 0; frame < 10; ++frame) glfwSwapBuffers();
    for (auto _ : state) {
        for (int letter : {'Z', 'S', 'P', 'M'}) benchmark::DoNotOptimize(glfwGetKey(letter));
    }
}
BENCHMARK(BM_PollLetterKeys);
