// The real platform layer over GLFW 3, in a real window on a private Xvfb display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "support/x_client.h"

static void PumpFrames(int frames)
{
    for (int i = 0; i < frames; ++i) glfwSwapBuffers();
}

TEST(Window, OpensTakesATitleReadsStickyKeysAndClosesOnRequest)
{
    ASSERT_EQ(glfwInit(), 1);
    ASSERT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 1) << PlatformErrorText();
    glfwEnable(GLFW_STICKY_KEYS);
    glfwSwapInterval(0);

    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    const double start = glfwGetTime();

    glfwSetWindowTitle("Tarnwick Alpha (12,5 FPS)");
    PumpFrames(3);
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window window = XWaitForWindow(display, "Tarnwick Alpha", std::chrono::seconds(5));
    ASSERT_NE(window, 0u);
    EXPECT_EQ(XWindowTitle(display, window), "Tarnwick Alpha (12,5 FPS)");
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);

    // A key pressed and released before the next poll reads as pressed once, then released.
    const std::string id = std::to_string(window);
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + id + " key --window " + id + " Up").c_str()), 0);
    PumpFrames(2);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_UP), GLFW_PRESS);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_UP), GLFW_RELEASE);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_DOWN), GLFW_RELEASE);

    XSendCloseRequest(display, window);
    XSync(display, False);
    for (int i = 0; i < 100 && glfwGetWindowParam(GLFW_OPENED) == 1; ++i) PumpFrames(1);
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    EXPECT_GT(glfwGetTime(), start);

    XCloseDisplay(display);
    glfwTerminate();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
}

TEST(Window, CannotOpenWithoutADisplayAndSaysWhy)
{
    const char* display = std::getenv("DISPLAY");
    ASSERT_NE(display, nullptr) << "run under tests/run_with_xvfb.sh";
    const std::string saved = display;
    unsetenv("DISPLAY");
    glfwInit();
    EXPECT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 0);
    EXPECT_NE(std::string(PlatformErrorText()).find("DISPLAY"), std::string::npos) << PlatformErrorText();
    glfwTerminate();
    setenv("DISPLAY", saved.c_str(), 1);
}
