// SPDX-License-Identifier: MIT
#include "platform/scripted_platform.h"

#include <cstdio>
#include <set>

#include "platform/platform.h"

TScript Script;
static std::set<int> HeldKeys;
static std::set<int> TappedKeys;
static TPadKeys Pads;

void ResetScript()
{
    Script = TScript{};
    HeldKeys.clear();
    TappedKeys.clear();
    LetGoOfPads(Pads);
}

void HoldKey(int key) { HeldKeys.insert(key); }

void ReleaseKey(int key) { HeldKeys.erase(key); }

void TapKey(int key) { TappedKeys.insert(key); }

int glfwInit()
{
    Script.Initialised = true;
    return 1;
}

void glfwTerminate()
{
    Script.Initialised = false;
    Script.WindowOpen = false;
}

int glfwOpenWindow(int width, int height, int, int, int, int, int depthBits, int, int mode)
{
    Script.OpenWidth = width;
    Script.OpenHeight = height;
    Script.OpenDepthBits = depthBits;
    Script.OpenMode = mode;
    Script.WindowOpen = Script.Initialised && !Script.RefuseWindow;
    return Script.WindowOpen ? 1 : 0;
}

void glfwEnable(int token)
{
    if (token == GLFW_STICKY_KEYS) {
        Script.StickyKeys = true;
    }
}

void glfwSwapInterval(int interval) { Script.SwapInterval = interval; }

double glfwGetTime() { return Script.Clock; }

void glfwSetWindowTitle(const char* title) { Script.Titles.emplace_back(title); }

static void GatherEvents()
{
    Script.Clock += Script.ClockStepPerPass;
    if (Script.OnPass) {
        Script.OnPass(Script.SwapCount + Script.PollCount);
    }
    ReadPads(Pads, Script.Pads, MaxPads, Script.StickyKeys);
}

void glfwSwapBuffers()
{
    ++Script.SwapCount;
    GatherEvents();
}

void glfwPollEvents()
{
    ++Script.PollCount;
    GatherEvents();
}

int glfwGetKey(int key)
{
    const bool byPad = PadsHoldKey(Pads, key); // asked either way: it uses up a pad's sticky press
    if (byPad || HeldKeys.contains(key)) {
        return GLFW_PRESS;
    }
    if (Script.StickyKeys && TappedKeys.erase(key) > 0) {
        return GLFW_PRESS;
    }
    return GLFW_RELEASE;
}

int glfwGetWindowParam(int param)
{
    switch (param) {
    case GLFW_OPENED:
        return Script.WindowOpen && !Script.CloseRequested && Script.LostDisplay[0] == '\0' ? 1 : 0;
    case GLFW_ICONIFIED: return Script.WindowOpen && Script.Iconified ? 1 : 0;
    }
    return 0;
}

void glfwGetWindowSize(int* width, int* height)
{
    *width = Script.Width;
    *height = Script.Height;
}

const char* PlatformErrorText() { return Script.ErrorText; }

const char* PlatformLostDisplay() { return Script.LostDisplay; }

void PlatformReportFailure(const char* line) { std::fprintf(stderr, "%s\n", line); }
