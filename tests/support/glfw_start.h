// SPDX-License-Identifier: MIT
// Starting the real platform layer on a test's private Xvfb display.
#pragma once

#include <chrono>
#include <thread>

#include "platform/platform.h"

// glfwInit, tried again for up to a second: Xvfb now and then refuses a connection made just
// after another was closed.
inline bool StartGlfw()
{
    bool started = glfwInit() == 1;
    for (int retry = 0; retry < 20 && !started; ++retry) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        started = glfwInit() == 1;
    }
    return started;
}
