// SPDX-License-Identifier: MIT
// X11, and every build whose GLFW has one windowing system (Windows, GLFW 3.3): desktops know the
// window by its class and its icon, and GLFW reports minimising.
#include "platform/windowing.h"

// The window icon at 16, 32 and 48 pixels square, 8-bit RGBA with rows from the top: made by the
// build from packaging/icons/window.
extern const unsigned char WindowIcon16[16 * 16 * 4];
extern const unsigned char WindowIcon32[32 * 32 * 4];
extern const unsigned char WindowIcon48[48 * 48 * 4];

// The name desktops match the window to its menu entry and icon by (the X11 class, and the
// desktop entry's StartupWMClass).
static const char* const ClassName = "tarnwick";

// Kept up to date by GLFW while it gathers events; asking the X server every frame would cost a
// round trip per frame.
static bool Iconified = false;

static void HintWindow()
{
    glfwWindowHintString(GLFW_X11_CLASS_NAME, ClassName);
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, ClassName);
}

static void NoteIconified(GLFWwindow*, int iconified) { Iconified = iconified == GLFW_TRUE; }

static void WindowOpened(GLFWwindow* window)
{
    // GLFW takes the pixels as non-const but only reads them.
    GLFWimage sizes[] = {
        {16, 16, const_cast<unsigned char*>(WindowIcon16)},
        {32, 32, const_cast<unsigned char*>(WindowIcon32)},
        {48, 48, const_cast<unsigned char*>(WindowIcon48)},
    };
    glfwSetWindowIcon(window, 3, sizes);
    Iconified = false;
    glfwSetWindowIconifyCallback(window, NoteIconified);
}

static void BeforeSwap() {}

static bool Unseen() { return Iconified; }

// Any event ends the wait: restoring the window is one.
static void WaitWhileUnseen(double seconds) { glfwWaitEventsTimeout(seconds); }

// Xlib ends the program itself, with its own message and status 1, when the X server goes away.
static const char* LostConnection() { return nullptr; }

static void WindowClosing() {}

const TWindowingSystem X11AndWindowsWindowing = {
    HintWindow, WindowOpened, BeforeSwap, Unseen, WaitWhileUnseen, LostConnection, WindowClosing,
};
