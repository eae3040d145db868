// SPDX-License-Identifier: MIT
#include "platform/windowing.h"

#include <cstdio>
#include <cstdlib>

[[maybe_unused]] static bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// libwayland finds a compositor named by a relative WAYLAND_DISPLAY in XDG_RUNTIME_DIR, and
// prints a line of its own when that is not set: such a name is not tried.
[[maybe_unused]] static bool WaylandReachable()
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name != nullptr && name[0] != '\0' && (name[0] == '/' || IsSet("XDG_RUNTIME_DIR"));
}

const TWindowingSystem* ChooseWindowingSystem([[maybe_unused]] char* reason,
                                              [[maybe_unused]] std::size_t size)
{
#if defined(_WIN32) || defined(__APPLE__)
    return &X11AndWindowsWindowing; // one system, and no display to name
#else
#if TARNWICK_WAYLAND
    if (WaylandReachable() && glfwPlatformSupported(GLFW_PLATFORM_WAYLAND) == GLFW_TRUE) {
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_WAYLAND);
        return &WaylandWindowing;
    }
#endif
    if (!IsSet("DISPLAY")) {
        const char* why = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        if (IsSet("WAYLAND_DISPLAY")) {
            why = WaylandReachable() ? "DISPLAY is not set, and this build of the game draws on X11 only"
                                     : "DISPLAY is not set, and WAYLAND_DISPLAY names no compositor that "
                                       "can be found: XDG_RUNTIME_DIR is not set";
        }
        std::snprintf(reason, size, "%s", why);
        return nullptr;
    }
#if TARNWICK_GLFW_HAS_PLATFORMS
    glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_X11);
#endif
    return &X11AndWindowsWindowing;
#endif
}
