// SPDX-License-Identifier: MIT
// Wayland, with GLFW 3.4: desktops know the window by its app_id, which is the desktop entry's id.
// Wayland tells a client nothing of minimising; instead a compositor stops answering a surface's
// frame callbacks while it shows the surface nowhere (minimised, on a hidden workspace, on some
// compositors fully covered). The game asks for one each frame, and calls the window unseen once
// none has come back for a while.
#include "platform/windowing.h"

#define GLFW_EXPOSE_NATIVE_WAYLAND
#include <GLFW/glfw3native.h>
#include <wayland-client.h>

#include <cstdint>

// How long without a frame callback before the window counts as unseen: several frames
// even at a slow compositor's rate, short enough that the game idles almost at once.
static constexpr double UnseenAfter = 0.25;

static GLFWwindow* Window = nullptr;
static wl_callback* PendingFrame = nullptr;
static double LastFrameShown = 0; // when the compositor last answered a frame callback
static bool ConnectionChecked = false;
static bool ConnectionLost = false;

static void FrameShown(void*, wl_callback* callback, std::uint32_t)
{
    wl_callback_destroy(callback);
    PendingFrame = nullptr;
    LastFrameShown = glfwGetTime();
}

static const wl_callback_listener FrameListener = {FrameShown};

static void HintWindow() { glfwWindowHintString(GLFW_WAYLAND_APP_ID, TARNWICK_DESKTOP_ID); }

// No window icon: Wayland desktops take it from the desktop entry, and GLFW refuses to set one.
static void WindowOpened(GLFWwindow* window)
{
    Window = window;
    PendingFrame = nullptr;
    LastFrameShown = glfwGetTime();
    ConnectionChecked = false;
    ConnectionLost = false;
}

// The request joins the surface's next commit, which the buffer swap makes.
static void BeforeSwap()
{
    if (PendingFrame != nullptr) {
        return;
    }
    PendingFrame = wl_surface_frame(glfwGetWaylandWindow(Window));
    if (PendingFrame != nullptr) {
        wl_callback_add_listener(PendingFrame, &FrameListener, nullptr);
    }
}

static bool Unseen() { return PendingFrame != nullptr && glfwGetTime() - LastFrameShown > UnseenAfter; }

// The GL driver's own round trips leave events behind (wl_display.delete_id) that end a plain
// wait at once: wait on until the time is up, the compositor shows the window again, or the
// player asks to close it.
static void WaitWhileUnseen(double seconds)
{
    const double until = glfwGetTime() + seconds;
    for (double left = seconds; left > 0 && Unseen() && glfwWindowShouldClose(Window) == GLFW_FALSE;
         left = until - glfwGetTime()) {
        glfwWaitEventsTimeout(left);
    }
}

// GLFW turns a lost connection into a close request, and the display records an error only for
// some of the ways it can be lost (not for a failed flush): once the window is to close, one
// round trip tells whether the compositor is still there.
static const char* LostConnection()
{
    if (!ConnectionChecked && glfwWindowShouldClose(Window) == GLFW_TRUE) {
        wl_display* display = glfwGetWaylandDisplay();
        ConnectionLost = wl_display_get_error(display) != 0 || wl_display_roundtrip(display) < 0;
        ConnectionChecked = true;
    }
    return ConnectionLost ? "lost the connection to the Wayland compositor" : nullptr;
}

static void WindowClosing()
{
    if (PendingFrame != nullptr) {
        wl_callback_destroy(PendingFrame);
        PendingFrame = nullptr;
    }
    Window = nullptr;
}

const TWindowingSystem WaylandWindowing = {
    HintWindow, WindowOpened, BeforeSwap, Unseen, WaitWhileUnseen, LostConnection, WindowClosing,
};
