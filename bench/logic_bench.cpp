// SPDX-License-Identifier: MIT
// Cost of placing the board, of the collision tests and of a whole control step.
#include <benchmark/benchmark.h>

#include "collision/collision.h"
#include "control/control.h"
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
