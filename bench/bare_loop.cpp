// SPDX-License-Identifier: MIT
// An 800 x 600 window that only clears and swaps, as fast as it can, for the given seconds; prints
// its frame rate and the GL renderer. The baseline for the game's own frame rate on the same machine.
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "render/gl_headers.h"

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    if (glfwInit() != 1 || glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW) != 1) {
        std::fprintf(stderr, "bare_loop: cannot open the window: %s\n", PlatformErrorText());
        return 1;
    }
    glfwSwapInterval(0);
    glEnable(GL_DEPTH_TEST);
    const double start = glfwGetTime();
    long frames = 0;
    while (glfwGetTime() - start < seconds) {
        glViewport(0, 0, 800, 600);
        glClearColor(0, 0, 0, 0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers();
        ++frames;
    }
    std::printf("%.1f %s\n", frames / (glfwGetTime() - start),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    glfwTerminate();
    return 0;
}
