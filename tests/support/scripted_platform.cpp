// SPDX-License-Identifier: MIT
#include "support/scripted_platform.h"

#include <cstdio>

#include "platform/platform.h"

TScript Script;
static THeldKeys Keys; // the script's: held by "script", tapped by "tap"
static THeldKeys Pads;

void ResetScript()
{
    Script = TScript{};
    LetGoOfAllKeys(Keys);
    LetGoOfAllKeys(Pads);
}

void HoldKey(int key) { SourceHoldsKey(Keys, "script", key); }

// A key the script lets go of is up at the next poll, sticky keys or not.
void ReleaseKey(int key) { SourceLetsGoOfKey(Keys, "script", key, false); }

void TapKey(int key)
{
    SourceHoldsKey(Keys, "tap", key);
    SourceLetsGoOfKey(Keys, "tap", key, Script.StickyKeys);
}

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
    const bool byPad = PollHeldKey(Pads, key); // asked either way: it uses up a pad's sticky press
    return PollHeldKey(Keys, key) || byPad ? GLFW_PRESS : GLFW_RELEASE;
}

int glfwGetWindowParam(int param)
{
    switch (param) {
    case GLFW_OPENED:
        return Script.WindowOpen && !Script.CloseRequested && Script.LostDisplay[0] == '\0' ? 1 : 0;
    case GLFW_ICONIFIED: return Script.WindowOpen && Script.Unseen ? 1 : 0;
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
