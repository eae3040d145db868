// SPDX-License-Identifier: MIT
// Cost of placing the board, of the collision tests, of a whole control step, and of reading the
// gamepads' keys once a frame.
#include <benchmark/benchmark.h>

#include "collision/collision.h"
#include "control/control.h"
#include "platform/gamepad.h"
#include "platform/held_keys.h"
#include "platform/platform.h"
#include "support/scripted_platform.h"
#include "world/board.h"
#include "world/game_state.h"

static void BM_PlaceBoard(benchmark::State& state)
{
    InitGameState();
    double heading = 0;
    for (auto _ : state) {
        PlaceBoard(1.25, -3.5, heading);
        heading += 0.1;
        benchmark::DoNotOptimize(GameState.BoardCorners);
    }
}
BENCHMARK(BM_PlaceBoard);

// The board beside block 0, where bounding boxes pass and the edge tests run.
template <bool (*Test)()> static void BM_ClearTest(benchmark::State& state)
{
    InitGameState();
    PlaceBoard(-11, -13.9, 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Test());
    }
}
BENCHMARK(BM_ClearTest<CornersClear>)->Name("BM_CornersClear");
BENCHMARK(BM_ClearTest<VerticesClear>)->Name("BM_VerticesClear");
BENCHMARK(BM_ClearTest<EdgesClear>)->Name("BM_EdgesClear");

// Every key held (but Space) at a steady rate: two turns, tilt, camera and both moves each frame.
static void BM_StepControl(benchmark::State& state)
{
    ResetScript();
    for (int key : {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, int('Z'), int('S'), int('P'), int('M'), GLFW_KEY_UP,
                    GLFW_KEY_DOWN}) {
        HoldKey(key);
    }
    InitGameState();
    GameState.Fps = static_cast<double>(state.range(0));
    for (auto _ : state) {
        StepControl();
        benchmark::DoNotOptimize(GameState.PosX);
    }
}
BENCHMARK(BM_StepControl)->Arg(100)->Arg(1)->ArgName("fps");

// A frame's gamepads: every slot read, one standard pad holding A (Up) and its left stick left,
// then each key the game reads polled once, as the control step and the exit test poll them.
static void BM_ReadPads(benchmark::State& state)
{
    TPadReading pads[MaxPads];
    pads[0].Present = pads[0].Standard = pads[0].Pressed[PadA] = true;
    pads[0].LeftX = -0.9;
    THeldKeys keys;
    const int polled[] = {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, 'Z',         'S', 'P', 'M', GLFW_KEY_UP,
                          GLFW_KEY_DOWN, GLFW_KEY_SPACE, GLFW_KEY_ESC};
    for (auto _ : state) {
        ReadPads(keys, pads, MaxPads, true);
        for (int key : polled) {
            benchmark::DoNotOptimize(PollHeldKey(keys, key));
        }
    }
}
BENCHMARK(BM_ReadPads);
