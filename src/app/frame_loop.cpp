// SPDX-License-Identifier: MIT
#include "app/frame_loop.h"

#include <cfenv>
#include <string>

#include "app/title.h"
#include "control/control.h"
#include "platform/decimal_separator.h"
#include "platform/platform.h"
#include "render/camera.h"
#include "render/scene.h"
#include "world/game_state.h"

static constexpr double TitleInterval = 1.0;

static std::string DecimalSeparator;

// The rate is averaged over the frames since the last title refresh. With no time passed since
// then (a first frame on an unchanged clock) there is no rate yet: 0, not 0/0.
static void MeasureFrameRate()
{
    GameState.NowTime = glfwGetTime();
    const double elapsed = GameState.NowTime - GameState.LastTitleTime;
    GameState.Fps = elapsed > 0 ? GameState.FrameCount / elapsed : 0.0;
}

static void RefreshTitle()
{
    if (GameState.NowTime - GameState.LastTitleTime > TitleInterval || GameState.FrameCount == 0) {
        FormatTitle(GameState.TitleText, GameState.Fps, DecimalSeparator);
        glfwSetWindowTitle(GameState.TitleText.c_str());
        GameState.LastTitleTime = GameState.NowTime;
        GameState.FrameCount = 0;
    }
}

// One line, "tarnwick: what: cause" (or without a cause when there is none).
static void ReportFailure(const char* what, const std::string& cause)
{
    std::string line = std::string("tarnwick: ") + what;
    if (!cause.empty()) {
        line += ": " + cause;
    }
    PlatformReportFailure(line.c_str());
}

bool RunFrame()
{
    MeasureFrameRate();
    StepControl();
    RefreshTitle();
    ++GameState.FrameCount;
    // Minimised or on a hidden workspace, a frame would be seen by nobody: the pass draws and
    // shows none, and only gathers events, waiting for them a while. The game itself runs on.
    if (glfwGetWindowParam(GLFW_ICONIFIED) == 0) {
        SetupCamera();
        DrawScene();
        glfwSwapBuffers();
    } else {
        glfwPollEvents();
    }
    return glfwGetKey(GLFW_KEY_ESC) != GLFW_PRESS && glfwGetWindowParam(GLFW_OPENED) != 0;
}

bool StartGame()
{
    // Masked for the whole run: a division by zero gives an infinity, never a trap.
    std::fenv_t startEnvironment;
    std::feholdexcept(&startEnvironment);

    glfwInit();
    if (glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW) != 1) {
        const std::string cause = PlatformErrorText();
        glfwTerminate();
        ReportFailure("cannot open the window", cause);
        return false;
    }
    glfwEnable(GLFW_STICKY_KEYS);
    SetupDrawingState();
    glfwSwapInterval(0);

    InitGameState();
    GameState.TitleText.reserve(64);
    DecimalSeparator = ReadDecimalSeparator();
    GameState.LastTitleTime = glfwGetTime();
    return true;
}

int EndGame()
{
    const std::string lost = PlatformLostDisplay();
    glfwTerminate();
    FreeGameState();
    if (!lost.empty()) {
        ReportFailure(lost.c_str(), "");
        return 1;
    }
    return 0;
}

int RunGame()
{
    if (!StartGame()) {
        return 1;
    }
    while (RunFrame()) {}
    return EndGame();
}
