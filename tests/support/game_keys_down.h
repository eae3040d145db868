// SPDX-License-Identifier: MIT
// The game's keys as the platform layer reads them now, for tests that press them other than by
// the keyboard.
#pragma once

#include <string>

#include "platform/platform.h"

// The keys glfwGetKey reads as pressed, by name, in a fixed order: "Up Left".
inline std::string GameKeysDown()
{
    // clang-format off
    static const struct { int Key; const char* Name; } keys[] = {
        {GLFW_KEY_UP, "Up"}, {GLFW_KEY_DOWN, "Down"}, {GLFW_KEY_LEFT, "Left"}, {GLFW_KEY_RIGHT, "Right"},
        {'Z', "Z"}, {'S', "S"}, {'P', "P"}, {'M', "M"}, {GLFW_KEY_SPACE, "Space"}, {GLFW_KEY_ESC, "Escape"}};
    // clang-format on
    std::string down;
    for (const auto& key : keys) {
        if (glfwGetKey(key.Key) == GLFW_PRESS) down += std::string(down.empty() ? "" : " ") + key.Name;
    }
    return down;
}
