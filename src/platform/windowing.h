// SPDX-License-Identifier: MIT
// What differs between the windowing systems GLFW 3 draws on, behind one table of calls: which
// system the game runs on, how desktops know its window, whether anybody can see it, and how the
// connection to the display can be lost. Only the GLFW 3 side of the layer includes this.
//   X11AndWindowsWindowing (windowing_x11_windows.cpp): X11, and every build whose GLFW has one
//     system (Windows, GLFW 3.3).
//   WaylandWindowing (windowing_wayland.cpp): Wayland, with a GLFW 3.4 built for it.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstddef>

// GLFW 3.4 carries several windowing systems in one library and is told which one to use.
#if GLFW_VERSION_MAJOR > 3 || (GLFW_VERSION_MAJOR == 3 && GLFW_VERSION_MINOR >= 4)
#define TARNWICK_GLFW_HAS_PLATFORMS 1
#else
#define TARNWICK_GLFW_HAS_PLATFORMS 0
#endif

// The desktop entry's id, which Wayland desktops match a window to its menu entry by.
#ifndef TARNWICK_DESKTOP_ID
#error "TARNWICK_DESKTOP_ID names the desktop entry (set by the build)"
#endif

struct TWindowingSystem {
    // Window hints, before the window is made: the names desktops know it by.
    void (*HintWindow)();
    // The window is open and its GL context current.
    void (*WindowOpened)(GLFWwindow* window);
    // Just before the buffer swap that shows a frame.
    void (*BeforeSwap)();
    // True while the window is unseen (minimised, on a hidden workspace), as far as the
    // system tells.
    bool (*Unseen)();
    // Waits up to the given time for something that matters to an unseen window.
    void (*WaitWhileUnseen)(double seconds);
    // Once the window is to close: why the connection to the display is gone, or nullptr when it
    // holds (the close was asked for).
    const char* (*LostConnection)();
    // Just before the window is destroyed.
    void (*WindowClosing)();
};

extern const TWindowingSystem X11AndWindowsWindowing;
#if TARNWICK_WAYLAND
extern const TWindowingSystem WaylandWindowing;
#endif

// Chooses the windowing system from the environment the game was started in, and tells GLFW so
// before glfwInit: Wayland when WAYLAND_DISPLAY names a compositor, X11 otherwise. Where no
// display is named, nothing is tried: nullptr, and the reason in reason.
const TWindowingSystem* ChooseWindowingSystem(char* reason, std::size_t size);
