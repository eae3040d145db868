// SPDX-License-Identifier: MIT
// The web page's frame, natively: the real frame loop, camera and drawing over the page's GL
// subset, with every heap allocation counted. The browser's part is stood in for here: the
// platform calls as the page makes them (the swap draws what the frame gathered, every key but
// Space and Escape held, so each action's path runs) and the page side counting what it is
// handed. After a warm-up it counts over a number of frames and prints the figures per frame.
#include <cstdio>
#include <cstdlib>

#include "app/frame_loop.h"
#include "new_count.h"
#include "platform/platform.h"
#include "platform/web/browser.h"
#include "platform/web/gl_subset.h"

static long DrawCalls = 0, DrawnVertices = 0, Titles = 0;
static long Frames = 0, WarmUpFrames = 200, MeasuredFrames = 3000;
static double Clock = 0;

extern "C" {
int BrowserOpenWebGL(int) { return WebGLOpened; }
bool BrowserPictureShown() { return false; } // every frame drawn, as while playing
bool BrowserDrawFrame(const TDrawStep*, int, const void*, int vertexCount, bool)
{
    ++DrawCalls;
    DrawnVertices += vertexCount;
    return true;
}
void BrowserShowMessage(const char*, const char*) {}
void BrowserDecimalSeparator(const char*, char* separator, int size) { std::snprintf(separator, size, "."); }
}

int glfwInit() { return 1; }
void glfwTerminate() {}
int glfwOpenWindow(int, int, int, int, int, int, int depthBits, int, int)
{
    return OpenDrawing(depthBits, 800, 600) == WebGLOpened ? 1 : 0;
}
void glfwEnable(int) {}
void glfwSwapInterval(int) {}
double glfwGetTime() { return Clock; }
void glfwSetWindowTitle(const char*) { ++Titles; }
void glfwSwapBuffers()
{
    FlushDrawing();
    Clock += 1.0 / 60;
    ++Frames;
}
void glfwPollEvents() {}
int glfwGetKey(int key)
{
    if (key == GLFW_KEY_ESC) return Frames >= WarmUpFrames + MeasuredFrames ? GLFW_PRESS : GLFW_RELEASE;
    return key == GLFW_KEY_SPACE ? GLFW_RELEASE : GLFW_PRESS;
}
int glfwGetWindowParam(int param) { return param == GLFW_OPENED ? 1 : 0; }
void glfwGetWindowSize(int* width, int* height)
{
    *width = 800;
    *height = 600;
}
const char* PlatformErrorText() { return ""; }
const char* PlatformLostDisplay() { return ""; }
void PlatformReportFailure(const char* line) { std::fprintf(stderr, "%s\n", line); }
void PlatformRunEachAnimationFrame(bool (*)()) {}

int main(int argc, char** argv)
{
    if (argc > 1) MeasuredFrames = std::atol(argv[1]);
    if (MeasuredFrames < 1) {
        std::fprintf(stderr, "usage: %s [frames to count, at least 1]\n", argv[0]);
        return 2;
    }
    if (!StartGame()) return 1;
    while (Frames < WarmUpFrames && RunFrame()) {}
    const long newAtStart = NewCalls, drawsAtStart = DrawCalls, verticesAtStart = DrawnVertices;
    const long titlesAtStart = Titles;
    while (RunFrame()) {}
    const int status = EndGame();
    std::printf("frames=%ld new_per_frame=%.4f draws_per_frame=%.2f vertices_per_frame=%.1f titles=%ld\n",
                MeasuredFrames, double(NewCalls - newAtStart) / MeasuredFrames,
                double(DrawCalls - drawsAtStart) / MeasuredFrames,
                double(DrawnVertices - verticesAtStart) / MeasuredFrames, Titles - titlesAtStart);
    return status;
}
