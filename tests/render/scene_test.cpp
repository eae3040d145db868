// SPDX-License-Identifier: MIT
// What GL really receives and draws for the scene, in a real GL context on a private Xvfb display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "platform/platform.h"
#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/scene.h"
#include "world/board.h"
#include "world/game_state.h"

// Every glBegin and glVertex call the drawing makes passes through these counters on its way to
// GL (the test binary is linked with --wrap for these symbols).
static int VertexCalls = 0;
static int BeginCalls[16] = {};
extern "C" {
void __real_glBegin(GLenum mode);
void __real_glVertex2i(GLint x, GLint y);
void __real_glVertex3i(GLint x, GLint y, GLint z);
void __real_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void __wrap_glBegin(GLenum mode)
{
    ++BeginCalls[mode & 15];
    __real_glBegin(mode);
}
void __wrap_glVertex2i(GLint x, GLint y)
{
    ++VertexCalls;
    __real_glVertex2i(x, y);
}
void __wrap_glVertex3i(GLint x, GLint y, GLint z)
{
    ++VertexCalls;
    __real_glVertex3i(x, y, z);
}
void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    ++VertexCalls;
    __real_glVertex3f(x, y, z);
}
}

namespace {

struct TFedVertex {
    double x, y, z; // world coordinates, recovered from the window coordinates
    float r, g, b;
};

struct TFeedback {
    std::vector<TFedVertex> Vertices;
    int Lines = 0, Polygons = 0;
};

// Window coordinates of the orthographic set-up below map back to world coordinates linearly.
constexpr double HalfWidth = 400, HalfHeight = 300, Depth = 1000;

// Draws the scene in feedback mode under an orthographic view that holds the whole arena, so
// nothing is clipped, and returns every vertex GL transformed, with its colour.
TFeedback CaptureScene()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-HalfWidth, HalfWidth, -HalfHeight, HalfHeight, -Depth, Depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    VertexCalls = 0;
    std::fill(std::begin(BeginCalls), std::end(BeginCalls), 0);
    DrawScene();
    const GLint size = glRenderMode(GL_RENDER);
    EXPECT_GT(size, 0) << "feedback buffer overflow";

    TFeedback feedback;
    auto vertexAt = [&](GLint i) {
        feedback.Vertices.push_back({buffer[i] - HalfWidth, buffer[i + 1] - HalfHeight,
                                     -Depth * (2 * buffer[i + 2] - 1), buffer[i + 3], buffer[i + 4],
                                     buffer[i + 5]});
    };
    constexpr int VertexSize = 7; // x, y, z, r, g, b, a
    for (GLint i = 0; i < size;) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        int vertices = 0;
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            vertices = 2;
            ++feedback.Lines;
        } else if (token == GL_POLYGON_TOKEN) {
            vertices = static_cast<int>(buffer[i++]);
            ++feedback.Polygons;
        } else if (token == GL_POINT_TOKEN) {
            vertices = 1;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        for (int v = 0; v < vertices; ++v, i += VertexSize) vertexAt(i);
    }
    return feedback;
}

class Scene : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(glfwInit(), 1);
        ASSERT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 1) << PlatformErrorText();
        SetupDrawingState();
    }
    static void TearDownTestSuite() { glfwTerminate(); }
    void SetUp() override { InitGameState(); }
};

} // namespace

TEST_F(Scene, TheLevelAsBuiltIssues160VerticesAndAllOfThemArrive)
{
    const TFeedback feedback = CaptureScene();
    EXPECT_EQ(VertexCalls, 160);
    EXPECT_EQ(BeginCalls[GL_LINES], 1);
    EXPECT_EQ(BeginCalls[GL_QUADS], 1 + 1 + 4 + 2) << "board, floor, each block, each wedge's sides";
    EXPECT_EQ(BeginCalls[GL_TRIANGLES], 2) << "each wedge's cap";
    // Nothing clipped: the three axes, and each of the 37 quads as two triangles plus two caps.
    EXPECT_EQ(feedback.Lines, 3);
    EXPECT_EQ(feedback.Polygons, 37 * 2 + 2);
}

TEST_F(Scene, EmptyObstacleArraysIssueNothingForThem)
{
    GameState.Blocks.clear();
    CaptureScene();
    EXPECT_EQ(VertexCalls, 160 - 4 * 24);
    EXPECT_EQ(BeginCalls[GL_QUADS], 1 + 1 + 2);

    GameState.Wedges.clear();
    CaptureScene();
    EXPECT_EQ(VertexCalls, 6 + 24 + 4);
    EXPECT_EQ(BeginCalls[GL_QUADS], 2);
    EXPECT_EQ(BeginCalls[GL_TRIANGLES], 0);
}

TEST_F(Scene, LeavesTheModelViewMatrixAsItFoundIt)
{
    GameState.PosX = 3;
    GameState.Heading = 33;
    GameState.Tilt = 12;
    SetupCamera();
    GLdouble before[16], after[16];
    GLint depthBefore = 0, depthAfter = 0;
    glGetDoublev(GL_MODELVIEW_MATRIX, before);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    DrawScene();
    glGetDoublev(GL_MODELVIEW_MATRIX, after);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << "element " << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The board's vertices are the first after the three axes: 6 quads as 12 triangles.
static std::vector<TFedVertex> BoardVertices(const TFeedback& feedback)
{
    return {feedback.Vertices.begin() + 6, feedback.Vertices.begin() + 6 + 36};
}

static bool IsYellow(const TFedVertex& v) { return v.r > 0.99f && v.g > 0.99f && v.b < 0.01f; }

TEST_F(Scene, TheDrawnBoardStandsOnThePlacedFootprint)
{
    GameState.PosX = -7;
    GameState.PosZ = 12;
    GameState.Heading = 90;
    PlaceBoard(GameState.PosX, GameState.PosZ, GameState.Heading);
    const std::vector<TFedVertex> board = BoardVertices(CaptureScene());
    int yellow = 0;
    for (const TFedVertex& v : board) {
        double nearest = INFINITY;
        for (const TFloorPoint& c : GameState.BoardCorners)
            nearest = std::fmin(nearest, std::hypot(v.x - c.x, v.z - c.z));
        EXPECT_LT(nearest, 1e-3) << "vertex off the footprint at (" << v.x << ", " << v.z << ")";
        EXPECT_TRUE(std::fabs(v.y - 29.5) < 1e-3 || std::fabs(v.y - 30) < 1e-3) << v.y;
        if (IsYellow(v)) {
            ++yellow;
            // Front-left: at heading 90 the front faces +x and the left side +z.
            EXPECT_NEAR(v.x, -7 + 4, 1e-3);
            EXPECT_NEAR(v.z, 12 + 1.5, 1e-3);
        }
    }
    EXPECT_GT(yellow, 0);
}

TEST_F(Scene, ATiltOfNinetyStandsTheBoardOnEnd)
{
    GameState.Tilt = 90;
    const std::vector<TFedVertex> board = BoardVertices(CaptureScene());
    for (const TFedVertex& v : board) {
        EXPECT_NEAR(std::fabs(v.x), 1.5, 1e-3);
        EXPECT_NEAR(std::fabs(v.y - 30), 4, 1e-3) << "the long axis along y";
        EXPECT_TRUE(v.z > -0.5 - 1e-3 && v.z < 1e-3) << "the thickness along z: " << v.z;
        if (IsYellow(v)) {
            EXPECT_NEAR(v.y, 26, 1e-3) << "the front rises towards the camera";
        }
    }
}

struct TPixel {
    int r, g, b;
};

// Where the world point (x, y, z) lands in the window under the current camera.
static void ProjectToWindow(double x, double y, double z, double& wx, double& wy)
{
    GLdouble modelView[16], projection[16], wz;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, modelView, projection, viewport, &wx, &wy, &wz);
}

// The colour drawn where the world point (x, y, z) lands.
static TPixel PixelAt(double x, double y, double z)
{
    double wx, wy;
    ProjectToWindow(x, y, z, wx, wy);
    unsigned char rgb[3] = {};
    glReadPixels(static_cast<GLint>(wx), static_cast<GLint>(wy), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

static void DrawFrame()
{
    SetupCamera();
    DrawScene();
    glFinish();
}

TEST_F(Scene, TheStartViewShowsBoardFloorAndObstaclesInTheirColours)
{
    DrawFrame();
    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    ASSERT_EQ(width, 800);
    EXPECT_EQ(GameState.WindowHeight, 600);

    const TPixel centre = PixelAt(0, 29.5, 0.5); // board top, beside the axes
    EXPECT_GT(centre.r, 230);
    EXPECT_LT(centre.b, 10);
    const TPixel front = PixelAt(-1.3, 29.5, 3.8); // next to the yellow front-left corner
    EXPECT_GT(front.r, 230);
    EXPECT_GT(front.g, 170);
    const TPixel floor = PixelAt(0, 30.5, 15);
    EXPECT_NEAR(floor.r, 171, 2);
    EXPECT_NEAR(floor.g, 8, 2);
    EXPECT_NEAR(floor.b, 8, 2);
    const TPixel block2 = PixelAt(-11, 28, 11); // block 2's cap
    EXPECT_LT(block2.r, 10);
    EXPECT_GT(block2.b, 200);
    // The overhead view puts the board's centre in the middle of the window, its front up.
    double wx, wy;
    ProjectToWindow(0, 29.5, 0, wx, wy);
    EXPECT_NEAR(wx, 400, 0.5);
    EXPECT_NEAR(wy, 300, 0.5);
    ProjectToWindow(0, 29.5, 4, wx, wy);
    EXPECT_GT(wy, 300) << "the front points up the screen";
}

TEST_F(Scene, BeyondTheArenaIsTheBlackBackground)
{
    GameState.PosX = 30;
    GameState.PosZ = 20;
    DrawFrame();
    const TPixel outside = PixelAt(40, 30.5, 20);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    const TPixel inside = PixelAt(33, 30.5, 10);
    EXPECT_NEAR(inside.r, 171, 2);
}
