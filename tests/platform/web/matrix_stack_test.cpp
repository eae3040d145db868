// SPDX-License-Identifier: MIT
// The web page's matrices against Mesa's: the camera and the scene drawing run in a real GL
// context on a private Xvfb display, and every matrix call they make goes both to Mesa's GL and
// GLU and to the page's matrix stacks (the test binary is linked with --wrap for those calls). At
// every glBegin, where a matrix takes effect, both must hold the same matrices. A wrong matrix
// would draw a plausible but wrong picture in the page, which nothing else would catch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/web/matrix_stack.h"
#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/scene.h"
#include "world/board.h"
#include "world/game_state.h"

namespace {

int Comparisons = 0;
// The largest difference seen between an element of the page's matrix and Mesa's, relative to
// the largest element of Mesa's matrix.
double WorstDifference = 0;
std::string WorstCase;
std::string CurrentCase;

void Compare(GLenum name, TMatrixStackId stack)
{
    GLfloat mesa[16];
    glGetFloatv(name, mesa);
    const TMatrix& page = TopMatrix(stack);
    double scale = 1;
    for (const GLfloat element : mesa) scale = std::max(scale, std::fabs(double(element)));
    for (int i = 0; i < 16; ++i) {
        const double difference = std::fabs(double(page.Element[i]) - mesa[i]) / scale;
        if (!(difference <= WorstDifference)) {
            WorstDifference = difference;
            WorstCase = CurrentCase + (stack == ModelViewStack ? ", model-view" : ", projection") +
                        " element " + std::to_string(i) + ": page " + std::to_string(page.Element[i]) +
                        ", Mesa " + std::to_string(mesa[i]);
        }
    }
    ++Comparisons;
}

} // namespace

extern "C" {
void __real_glMatrixMode(GLenum mode);
void __real_glLoadIdentity();
void __real_glPushMatrix();
void __real_glPopMatrix();
void __real_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void __real_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void __real_gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void __real_gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
                      GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ);
void __real_glBegin(GLenum mode);

void __wrap_glMatrixMode(GLenum mode)
{
    __real_glMatrixMode(mode);
    SelectMatrixStack(mode == GL_PROJECTION ? ProjectionStack : ModelViewStack);
}
void __wrap_glLoadIdentity()
{
    __real_glLoadIdentity();
    LoadIdentityMatrix();
}
void __wrap_glPushMatrix()
{
    __real_glPushMatrix();
    PushMatrix();
}
void __wrap_glPopMatrix()
{
    __real_glPopMatrix();
    PopMatrix();
}
void __wrap_glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    __real_glTranslatef(x, y, z);
    TranslateMatrix(x, y, z);
}
void __wrap_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    __real_glRotatef(angle, x, y, z);
    RotateMatrix(angle, x, y, z);
}
void __wrap_gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    __real_gluPerspective(fovy, aspect, zNear, zFar);
    PerspectiveMatrix(fovy, aspect, zNear, zFar);
}
void __wrap_gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
                      GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ)
{
    __real_gluLookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
    LookAtMatrix(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
}
void __wrap_glBegin(GLenum mode)
{
    Compare(GL_MODELVIEW_MATRIX, ModelViewStack);
    Compare(GL_PROJECTION_MATRIX, ProjectionStack);
    __real_glBegin(mode);
}
}

class WebMatrices : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(glfwInit(), 1);
        ASSERT_EQ(glfwOpenWindow(800, 600, 0, 0, 0, 0, 8, 0, GLFW_WINDOW), 1) << PlatformErrorText();
    }
    static void TearDownTestSuite() { glfwTerminate(); }
    void SetUp() override
    {
        InitGameState();
        ResetMatrixStacks();
        __real_glMatrixMode(GL_PROJECTION);
        __real_glLoadIdentity();
        __real_glMatrixMode(GL_MODELVIEW);
        __real_glLoadIdentity();
        Comparisons = 0;
        WorstDifference = 0;
    }
    void TearDown() override { FreeGameState(); }
};

// Both ends of the camera, between them and one step past each; headings that put sines and
// cosines at every sign and at exact zeros; tilts up to standing on end; the board anywhere.
TEST_F(WebMatrices, EqualMesasForEveryFrameTheCameraAndTheDrawingMake)
{
    const double cameras[] = {42, 41.85, 30.5, 21, 20.85, 42.15};
    const double headings[] = {0, 90, 180, -90, 37.5, -123.4, 1234.5, 1e6};
    const double tilts[] = {0, 90, -37, 181};
    const double positions[][2] = {{0, 0}, {-31.2, 21.7}, {33.9, -23.4}};
    for (const double camera : cameras) {
        for (const double heading : headings) {
            for (const double tilt : tilts) {
                for (const auto& position : positions) {
                    GameState.CameraDistance = camera;
                    GameState.Heading = heading;
                    GameState.Tilt = tilt;
                    GameState.PosX = position[0];
                    GameState.PosZ = position[1];
                    char name[160];
                    std::snprintf(name, sizeof name, "camera %g, heading %g, tilt %g, at (%g, %g)", camera,
                                  heading, tilt, position[0], position[1]);
                    CurrentCase = name;
                    SetupCamera();
                    DrawScene();
                }
            }
        }
    }
    EXPECT_EQ(Comparisons, 6 * 8 * 4 * 3 * 11 * 2) << "two matrices at each of the frame's 11 glBegin";
    // Single precision carries about 6e-8 of the largest element; a wrong matrix is off by far more.
    EXPECT_LE(WorstDifference, 1e-6) << WorstCase;
    std::printf("largest difference, relative to the matrix's largest element: %.3g\n", WorstDifference);
}

// The drawing area's shape sets the projection, from a wide strip to a tall one.
TEST_F(WebMatrices, EqualMesasForAnyDrawingAreaShape)
{
    for (const double aspect : {800.0 / 600, 1600.0 / 1200, 1.0, 1920.0 / 1, 1.0 / 1080}) {
        CurrentCase = "aspect " + std::to_string(aspect);
        __wrap_glMatrixMode(GL_PROJECTION);
        __wrap_glLoadIdentity();
        __wrap_gluPerspective(65.0, aspect, 1.0, 100.0);
        __wrap_glMatrixMode(GL_MODELVIEW);
        __wrap_glBegin(GL_POINTS);
        glEnd();
    }
    EXPECT_LE(WorstDifference, 1e-6) << WorstCase;
}

// Rotations about an axis that is not one of x, y and z take the general formula; a deeper stack
// pops back to what was pushed.
TEST_F(WebMatrices, EqualMesasForAnyAxisAndDeepStacks)
{
    const float axes[][3] = {{1, 1, 0}, {0.3f, -2, 5}, {-1, -1, -1}, {0, 0, -3}, {-2, 0, 0}, {0, 0, 0}};
    CurrentCase = "axes";
    __wrap_glTranslatef(1.5f, -2, 3);
    for (const auto& axis : axes) {
        __wrap_glPushMatrix();
        __wrap_glRotatef(33.3f, axis[0], axis[1], axis[2]);
        __wrap_glTranslatef(-4, 5.25f, 0.125f);
        __wrap_glBegin(GL_POINTS);
        glEnd();
    }
    for (const auto& axis : axes) {
        (void)axis;
        __wrap_glPopMatrix();
        __wrap_glBegin(GL_POINTS);
        glEnd();
    }
    EXPECT_LE(WorstDifference, 1e-6) << WorstCase;
}
