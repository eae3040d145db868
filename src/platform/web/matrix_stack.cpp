// SPDX-License-Identifier: MIT
#include "platform/web/matrix_stack.h"

#include <cmath>
#include <numbers>

// Mesa's depth of both stacks.
static constexpr int StackDepth = 32;

struct TStack {
    TMatrix Matrices[StackDepth];
    int Top;
};

static constexpr TMatrix Identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

static TStack Stacks[2] = {{{Identity}, 0}, {{Identity}, 0}};
static TMatrixStackId Current = ModelViewStack;

static TMatrix& Top() { return Stacks[Current].Matrices[Stacks[Current].Top]; }

static float& At(TMatrix& m, int row, int column) { return m.Element[column * 4 + row]; }
static float At(const TMatrix& m, int row, int column) { return m.Element[column * 4 + row]; }

// Each element summed left to right in single precision, as Mesa's matrix product does.
TMatrix MultiplyMatrices(const TMatrix& left, const TMatrix& right)
{
    TMatrix product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            At(product, row, column) =
                At(left, row, 0) * At(right, 0, column) + At(left, row, 1) * At(right, 1, column) +
                At(left, row, 2) * At(right, 2, column) + At(left, row, 3) * At(right, 3, column);
        }
    }
    return product;
}

static void MultiplyTop(const TMatrix& by) { Top() = MultiplyMatrices(Top(), by); }

void ResetMatrixStacks()
{
    for (TStack& stack : Stacks) {
        stack.Matrices[0] = Identity;
        stack.Top = 0;
    }
    Current = ModelViewStack;
}

void SelectMatrixStack(TMatrixStackId stack) { Current = stack; }

void LoadIdentityMatrix() { Top() = Identity; }

void PushMatrix()
{
    TStack& stack = Stacks[Current];
    if (stack.Top + 1 < StackDepth) {
        stack.Matrices[stack.Top + 1] = stack.Matrices[stack.Top];
        ++stack.Top;
    }
}

void PopMatrix()
{
    TStack& stack = Stacks[Current];
    if (stack.Top > 0) {
        --stack.Top;
    }
}

void TranslateMatrix(float x, float y, float z)
{
    TMatrix& m = Top();
    for (int row = 0; row < 4; ++row) {
        At(m, row, 3) = At(m, row, 0) * x + At(m, row, 1) * y + At(m, row, 2) * z + At(m, row, 3);
    }
}

// The sine and cosine are taken in single precision, of the angle in radians rounded to single,
// as Mesa takes them: a heading of a million degrees turns alike. Rotations about one of the
// axes are built from them alone; any other axis by the general formula on the normalised axis.
void RotateMatrix(float angle, float x, float y, float z)
{
    const float radians = static_cast<float>(angle * std::numbers::pi / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    TMatrix m = Identity;
    if (x == 0 && y == 0 && z != 0) {
        const float sz = z < 0 ? -s : s;
        At(m, 0, 0) = c;
        At(m, 1, 1) = c;
        At(m, 0, 1) = -sz;
        At(m, 1, 0) = sz;
    } else if (x == 0 && y != 0 && z == 0) {
        const float sy = y < 0 ? -s : s;
        At(m, 0, 0) = c;
        At(m, 2, 2) = c;
        At(m, 0, 2) = sy;
        At(m, 2, 0) = -sy;
    } else if (x != 0 && y == 0 && z == 0) {
        const float sx = x < 0 ? -s : s;
        At(m, 1, 1) = c;
        At(m, 2, 2) = c;
        At(m, 1, 2) = -sx;
        At(m, 2, 1) = sx;
    } else {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4F) {
            return;
        }
        x /= length;
        y /= length;
        z /= length;
        const float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
        const float xs = x * s, ys = y * s, zs = z * s;
        const float oneMinusC = 1.0F - c;
        At(m, 0, 0) = (oneMinusC * xx) + c;
        At(m, 0, 1) = (oneMinusC * xy) - zs;
        At(m, 0, 2) = (oneMinusC * zx) + ys;
        At(m, 1, 0) = (oneMinusC * xy) + zs;
        At(m, 1, 1) = (oneMinusC * yy) + c;
        At(m, 1, 2) = (oneMinusC * yz) - xs;
        At(m, 2, 0) = (oneMinusC * zx) - ys;
        At(m, 2, 1) = (oneMinusC * yz) + xs;
        At(m, 2, 2) = (oneMinusC * zz) + c;
    }
    MultiplyTop(m);
}

// GLU builds the projection in double precision; GL rounds it to single when it multiplies.
void PerspectiveMatrix(double fovy, double aspect, double zNear, double zFar)
{
    const double radians = fovy / 2 * std::numbers::pi / 180;
    const double depth = zFar - zNear;
    const double sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0) {
        return;
    }
    const double cotangent = std::cos(radians) / sine;
    TMatrix m = Identity;
    At(m, 0, 0) = static_cast<float>(cotangent / aspect);
    At(m, 1, 1) = static_cast<float>(cotangent);
    At(m, 2, 2) = static_cast<float>(-(zFar + zNear) / depth);
    At(m, 3, 2) = -1;
    At(m, 2, 3) = static_cast<float>(-2 * zNear * zFar / depth);
    At(m, 3, 3) = 0;
    MultiplyTop(m);
}

static void Normalise(float v[3])
{
    const float length = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    if (length == 0) {
        return;
    }
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
}

static void Cross(const float a[3], const float b[3], float result[3])
{
    result[0] = a[1] * b[2] - a[2] * b[1];
    result[1] = a[2] * b[0] - a[0] * b[2];
    result[2] = a[0] * b[1] - a[1] * b[0];
}

// GLU works out the view's axes in single precision, then translates by the eye.
void LookAtMatrix(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
                  double upX, double upY, double upZ)
{
    float forward[3] = {static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                        static_cast<float>(centreZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    Normalise(forward);
    Cross(forward, up, side);
    Normalise(side);
    Cross(side, forward, up);

    TMatrix m = Identity;
    for (int column = 0; column < 3; ++column) {
        At(m, 0, column) = side[column];
        At(m, 1, column) = up[column];
        At(m, 2, column) = -forward[column];
    }
    MultiplyTop(m);
    TranslateMatrix(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

const TMatrix& TopMatrix(TMatrixStackId stack) { return Stacks[stack].Matrices[Stacks[stack].Top]; }
