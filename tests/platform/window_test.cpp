// SPDX-License-Identifier: MIT
// The real platform layer over GLFW 3, in a real window on a private Xvfb display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/glfw_start.h"
#include "support/locale_environment.h"
#include "support/x_client.h"

namespace {

void PumpFrames(int frames)
{
    for (int i = 0; i < frames; ++i) glfwSwapBuffers();
}

bool RunQuietly(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Every case starts from a shut-down library and leaves it shut down, whatever it asserted.
class RealWindow : public ::testing::Test {
protected:
    Display* X = nullptr;
    Window Id = 0;

    void TearDown() override
    {
        glfwTerminate();
        if (X != nullptr) XCloseDisplay(X);
    }

    // Opens the game's window and finds it from outside, as a window manager would.
    void OpenAndFind()
    {
        ASSERT_TRUE(StartGlfw()) << PlatformErrorText();
        ASSERT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 1) << PlatformErrorText();
        glfwEnable(GLFW_STICKY_KEYS);
        glfwSwapInterval(0);
        glfwSetWindowTitle("Tarnwick Alpha (12,5 FPS)");
        PumpFrames(3);
        X = XOpenRecordingErrors();
        ASSERT_NE(X, nullptr);
        Id = XWaitForWindow(X, "Tarnwick Alpha", std::chrono::seconds(5));
        ASSERT_NE(Id, 0u) << "the window never showed";
    }

    // Presses and releases the key with the given X keycode (a physical position) in the window.
    void PressKeycode(int keycode)
    {
        const std::string id = std::to_string(Id);
        ASSERT_TRUE(RunQuietly("xdotool windowfocus --sync " + id + " key --window " + id + " " +
                               std::to_string(keycode)));
        PumpFrames(2);
    }
};

// The keyboard layout of the test's display, put back to US English afterwards.
struct TScopedLayout {
    bool Applied;
    explicit TScopedLayout(const char* layout) : Applied(RunQuietly(std::string("setxkbmap ") + layout)) {}
    ~TScopedLayout() { RunQuietly("setxkbmap us"); }
};

// The sizes of the icons a window carries in _NET_WM_ICON (width, height, pixels, ... in turn).
std::vector<std::pair<long, long>> IconSizes(Display* x, Window window)
{
    std::vector<std::pair<long, long>> sizes;
    const std::vector<long> data = XPropertyItems<long>(x, window, "_NET_WM_ICON", XA_CARDINAL);
    for (size_t i = 0; i + 2 <= data.size(); i += 2 + static_cast<size_t>(data[i] * data[i + 1])) {
        sizes.emplace_back(data[i], data[i + 1]);
    }
    return sizes;
}

// X keycodes of the US W, Z and semicolon positions on a PC keyboard.
constexpr int KeycodeW = 25, KeycodeZ = 52, KeycodeSemicolon = 47;

} // namespace

TEST_F(RealWindow, OpensTakesATitleReadsStickyKeysAndClosesOnRequest)
{
    ASSERT_NO_FATAL_FAILURE(OpenAndFind());
    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    const double start = glfwGetTime();
    EXPECT_EQ(XWindowTitle(X, Id), "Tarnwick Alpha (12,5 FPS)");
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);

    // A key pressed and released before the next poll reads as pressed once, then released.
    const std::string id = std::to_string(Id);
    ASSERT_TRUE(RunQuietly("xdotool windowfocus --sync " + id + " key --window " + id + " Up"));
    PumpFrames(2);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_UP), GLFW_PRESS);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_UP), GLFW_RELEASE);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_DOWN), GLFW_RELEASE);

    XSendCloseRequest(X, Id);
    XSync(X, False);
    for (int i = 0; i < 100 && glfwGetWindowParam(GLFW_OPENED) == 1; ++i) PumpFrames(1);
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    EXPECT_GT(glfwGetTime(), start);

    glfwTerminate();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
}

TEST_F(RealWindow, DesktopsKnowItAsTarnwickWithItsIcon)
{
    ASSERT_NO_FATAL_FAILURE(OpenAndFind());
    XClassHint hint = {};
    ASSERT_NE(XGetClassHint(X, Id, &hint), 0) << "no WM_CLASS";
    EXPECT_STREQ(hint.res_name, "tarnwick");
    EXPECT_STREQ(hint.res_class, "tarnwick");
    XFree(hint.res_name);
    XFree(hint.res_class);
    const std::vector<std::pair<long, long>> expected = {{16, 16}, {32, 32}, {48, 48}};
    EXPECT_EQ(IconSizes(X, Id), expected);
}

TEST_F(RealWindow, LetterKeysFollowTheLayoutAndNoLayoutRaisesAnError)
{
    ASSERT_NO_FATAL_FAILURE(OpenAndFind());

    // French: Z is where US W is, M where US semicolon is.
    {
        const TScopedLayout french("fr");
        ASSERT_TRUE(french.Applied) << "setxkbmap fr";
        ASSERT_NO_FATAL_FAILURE(PressKeycode(KeycodeW));
        EXPECT_EQ(glfwGetKey('Z'), GLFW_PRESS);
        ASSERT_NO_FATAL_FAILURE(PressKeycode(KeycodeSemicolon));
        EXPECT_EQ(glfwGetKey('M'), GLFW_PRESS);
    }

    // Russian: no key produces a Latin letter, so each letter stays at its US position, and
    // looking for it touches no key the keyboard lacks.
    const TScopedLayout russian("ru");
    ASSERT_TRUE(russian.Applied) << "setxkbmap ru";
    ASSERT_NO_FATAL_FAILURE(PressKeycode(KeycodeZ));
    EXPECT_EQ(glfwGetKey('Z'), GLFW_PRESS);
    for (int frame = 0; frame < 3; ++frame) {
        for (int letter : {'Z', 'S', 'P', 'M'}) glfwGetKey(letter);
        PumpFrames(1);
    }
    EXPECT_STREQ(PlatformErrorText(), "") << "GLFW reported an error while the letters were looked up";
}

TEST_F(RealWindow, CannotOpenWithoutADisplayAndSaysWhy)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under tests/run_with_xvfb.sh";
    const TScopedVariable noDisplay("DISPLAY", nullptr), noWayland("WAYLAND_DISPLAY", nullptr);
    // With XDG_RUNTIME_DIR unset, libwayland would print a line of its own if it were tried.
    for (const char* runtimeDir : {"/tmp", static_cast<const char*>(nullptr)}) {
        const TScopedVariable runtime("XDG_RUNTIME_DIR", runtimeDir);
        glfwInit();
        EXPECT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 0);
        const std::string reason = PlatformErrorText();
        EXPECT_NE(reason.find("DISPLAY"), std::string::npos) << reason;
        EXPECT_NE(reason.find("WAYLAND_DISPLAY"), std::string::npos) << reason;
        glfwTerminate();
    }
}
