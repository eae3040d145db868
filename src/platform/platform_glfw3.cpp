// SPDX-License-Identifier: MIT
// The GLFW 2-style calls of platform.h, carried out by GLFW 3 (glfw3_window.cpp).
#include "platform/platform.h"

#include "platform/glfw3_window.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

int glfwInit() { return Glfw3Init() ? 1 : 0; }

void glfwTerminate() { Glfw3Terminate(); }

// A window (GLFW_WINDOW), the only mode the game opens.
int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int)
{
    return Glfw3OpenWindow(width, height, redBits, greenBits, blueBits, alphaBits, depthBits, stencilBits)
               ? 1
               : 0;
}

void glfwEnable(int token)
{
    if (token == GLFW_STICKY_KEYS) {
        Glfw3EnableStickyKeys();
    }
}

void glfwSwapInterval(int interval) { Glfw3SwapInterval(interval); }

double glfwGetTime() { return Glfw3Time(); }

void glfwSetWindowTitle(const char* title) { Glfw3SetTitle(title); }

void glfwSwapBuffers() { Glfw3SwapAndPoll(); }

void glfwPollEvents() { Glfw3PollEvents(); }

int glfwGetKey(int key) { return Glfw3KeyPressed(key) ? GLFW_PRESS : GLFW_RELEASE; }

int glfwGetWindowParam(int param)
{
    switch (param) {
    case GLFW_OPENED: return Glfw3WindowOpen() ? 1 : 0;
    case GLFW_ICONIFIED: return Glfw3WindowUnseen() ? 1 : 0;
    }
    return 0;
}

void glfwGetWindowSize(int* width, int* height) { Glfw3DrawingAreaSize(width, height); }

const char* PlatformErrorText() { return Glfw3ErrorText(); }

const char* PlatformLostDisplay() { return Glfw3LostDisplay(); }

void PlatformReportFailure(const char* line)
{
    std::fprintf(stderr, "%s\n", line);
#ifdef _WIN32
    MessageBoxA(nullptr, line, TARNWICK_NAME, MB_OK | MB_ICONERROR);
#endif
}
