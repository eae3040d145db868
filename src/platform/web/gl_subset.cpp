// SPDX-License-Identifier: MIT
#include "platform/web/gl_subset.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/web/browser.h"
#include "platform/web/matrix_stack.h"

// A vertex as WebGL draws it: already in clip coordinates (the frame's matrices applied here, in
// single precision as Mesa applies them), with its clamped colour.
struct TDrawnVertex {
    float Clip[4];
    float Colour[3];
};

// The layout the page reads them in (browser.h).
static_assert(sizeof(TDrawnVertex) == BrowserVertexBytes &&
              offsetof(TDrawnVertex, Colour) == BrowserVertexColourByte);
static_assert(sizeof(TDrawStep) == 4 * BrowserStepWords);
static_assert(offsetof(TDrawStep, State.Viewport) == 4 * BrowserStepViewport &&
              offsetof(TDrawStep, State.ClearColour) == 4 * BrowserStepClearColour &&
              offsetof(TDrawStep, State.DepthTest) == 4 * BrowserStepDepthTest &&
              offsetof(TDrawStep, State.DepthFunc) == 4 * BrowserStepDepthFunc &&
              sizeof(TDrawState) == 4 * BrowserStepClear &&
              offsetof(TDrawStep, Clear) == 4 * BrowserStepClear &&
              offsetof(TDrawStep, Mode) == 4 * BrowserStepMode &&
              offsetof(TDrawStep, First) == 4 * BrowserStepFirst &&
              offsetof(TDrawStep, Count) == 4 * BrowserStepCount);

// The frame's clears and draws, in order, and its vertices; and those of the picture on the
// screen, the last frame drawn. A frame that would draw that same picture again is not drawn:
// while the game stands still, WebGL is left alone and the browser shows the picture it has.
// Their storage is kept, so that once the first frame is drawn no frame allocates.
static std::vector<TDrawStep> Steps;
static std::vector<TDrawnVertex> Vertices;
static std::vector<TDrawStep> ShownSteps;
static std::vector<TDrawnVertex> ShownVertices;

// What the game set, as GL starts: the viewport the whole drawing buffer, the clear colour black,
// no depth test, the depth function GL_LESS.
static TDrawState State = {{0, 0, 0, 0}, {0, 0, 0, 0}, 0, GL_LESS};

// Between glBegin and glEnd: the primitive, the matrix that takes its vertices to clip
// coordinates, and the vertices of a primitive not yet complete.
static bool InsideBegin = false;
static GLenum Primitive = GL_TRIANGLES;
static TMatrix ToClip;
static TDrawnVertex Pending[4];
static int PendingCount = 0;

static float CurrentColour[3] = {1, 1, 1};

// Byte for byte, which is what the picture depends on: values that differ only in their bytes
// (0 and -0) draw a frame more, never one less.
static bool SameBytes(const void* a, const void* b, std::size_t size)
{
    return size == 0 || std::memcmp(a, b, size) == 0;
}

template <typename TItem> static bool SameItems(const std::vector<TItem>& a, const std::vector<TItem>& b)
{
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size() * sizeof(TItem));
}

int OpenDrawing(int depthBits, int width, int height)
{
    ResetMatrixStacks();
    State.Viewport[2] = width;
    State.Viewport[3] = height;
    Steps.reserve(16);
    ShownSteps.reserve(16);
    Vertices.reserve(1024);
    ShownVertices.reserve(1024);
    return BrowserOpenWebGL(depthBits);
}

void FlushDrawing()
{
    const bool verticesChanged = !SameItems(Vertices, ShownVertices);
    const bool samePicture = !verticesChanged && SameItems(Steps, ShownSteps) && BrowserPictureShown();
    if (!samePicture && BrowserDrawFrame(Steps.data(), static_cast<int>(Steps.size()), Vertices.data(),
                                         static_cast<int>(Vertices.size()), verticesChanged)) {
        ShownSteps.assign(Steps.begin(), Steps.end());
        ShownVertices.assign(Vertices.begin(), Vertices.end());
    }
    Steps.clear();
    Vertices.clear();
}

static void Emit(int mode, const TDrawnVertex& vertex)
{
    const int next = static_cast<int>(Vertices.size());
    if (Steps.empty() || Steps.back().Clear != 0 || Steps.back().Mode != mode ||
        !SameBytes(&Steps.back().State, &State, sizeof State)) {
        Steps.push_back({State, 0, mode, next, 0});
    }
    ++Steps.back().Count;
    Vertices.push_back(vertex);
}

// A complete primitive: lines and triangles as they are; a quad as the two triangles (0, 1, 3)
// and (1, 2, 3), the way Mesa splits a quad, which decides how its colours blend across it.
static void EmitPrimitive()
{
    switch (Primitive) {
    case GL_LINES:
        Emit(GL_LINES, Pending[0]);
        Emit(GL_LINES, Pending[1]);
        break;
    case GL_TRIANGLES:
        for (int i = 0; i < 3; ++i) Emit(GL_TRIANGLES, Pending[i]);
        break;
    case GL_QUADS:
        for (int i : {0, 1, 3, 1, 2, 3}) Emit(GL_TRIANGLES, Pending[i]);
        break;
    }
}

static int VerticesPerPrimitive()
{
    switch (Primitive) {
    case GL_LINES: return 2;
    case GL_TRIANGLES: return 3;
    }
    return 4;
}

static void Vertex(float x, float y, float z)
{
    if (!InsideBegin) {
        return;
    }
    TDrawnVertex& vertex = Pending[PendingCount];
    const float* m = ToClip.Element;
    for (int row = 0; row < 4; ++row) {
        vertex.Clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
    for (int i = 0; i < 3; ++i) vertex.Colour[i] = CurrentColour[i];
    if (++PendingCount == VerticesPerPrimitive()) {
        EmitPrimitive();
        PendingCount = 0;
    }
}

// Each component clamped to [0, 1] before it is interpolated, as GL 1.1 does without lighting;
// a NaN counts as 0.
static float Clamped(float component) { return component > 0 ? (component < 1 ? component : 1) : 0; }

extern "C" {

void glBegin(GLenum mode)
{
    if (InsideBegin || (mode != GL_LINES && mode != GL_TRIANGLES && mode != GL_QUADS)) {
        return;
    }
    InsideBegin = true;
    Primitive = mode;
    PendingCount = 0;
    ToClip = MultiplyMatrices(TopMatrix(ProjectionStack), TopMatrix(ModelViewStack));
}

// A primitive left incomplete is dropped.
void glEnd() { InsideBegin = false; }

void glColor3f(GLfloat red, GLfloat green, GLfloat blue)
{
    CurrentColour[0] = Clamped(red);
    CurrentColour[1] = Clamped(green);
    CurrentColour[2] = Clamped(blue);
}

void glVertex2i(GLint x, GLint y) { Vertex(static_cast<float>(x), static_cast<float>(y), 0); }
void glVertex3i(GLint x, GLint y, GLint z)
{
    Vertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Vertex(x, y, z); }

// Matrices cannot change between glBegin and glEnd.
void glMatrixMode(GLenum mode)
{
    if (!InsideBegin && (mode == GL_MODELVIEW || mode == GL_PROJECTION)) {
        SelectMatrixStack(mode == GL_PROJECTION ? ProjectionStack : ModelViewStack);
    }
}
void glLoadIdentity()
{
    if (!InsideBegin) LoadIdentityMatrix();
}
void glPushMatrix()
{
    if (!InsideBegin) PushMatrix();
}
void glPopMatrix()
{
    if (!InsideBegin) PopMatrix();
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (!InsideBegin) TranslateMatrix(x, y, z);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    if (!InsideBegin) RotateMatrix(angle, x, y, z);
}
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    if (!InsideBegin) PerspectiveMatrix(fovy, aspect, zNear, zFar);
}
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ)
{
    if (!InsideBegin) LookAtMatrix(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
}

// State changes take effect for the clears and draws after them.
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (InsideBegin || width < 0 || height < 0) return;
    State.Viewport[0] = x;
    State.Viewport[1] = y;
    State.Viewport[2] = width;
    State.Viewport[3] = height;
}
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    if (InsideBegin) return;
    State.ClearColour[0] = Clamped(red);
    State.ClearColour[1] = Clamped(green);
    State.ClearColour[2] = Clamped(blue);
    State.ClearColour[3] = Clamped(alpha);
}
void glClear(GLbitfield mask)
{
    if (InsideBegin) return;
    Steps.push_back({State, mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT), 0, 0, 0});
}
void glEnable(GLenum capability)
{
    if (InsideBegin || capability != GL_DEPTH_TEST) return;
    State.DepthTest = 1;
}
void glDepthFunc(GLenum function)
{
    if (InsideBegin || function < GL_NEVER || function > GL_ALWAYS) return;
    State.DepthFunc = static_cast<int>(function);
}
}
