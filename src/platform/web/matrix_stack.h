// SPDX-License-Identifier: MIT
// GL 1.1's two matrix stacks (model-view and projection) and the GLU camera matrices, for the GL
// subset the page draws with. Each operation is computed as Mesa's GL and GLU compute it, in the
// same precision and order, so the page and the desktop place every vertex alike. Plain C++ with
// names of its own: the desktop build compares it with Mesa's own matrices.
#pragma once

// Column-major, as GL keeps a matrix: element (row, column) is Element[column * 4 + row].
struct TMatrix {
    float Element[16];
};

// Which stack the operations below act on.
enum TMatrixStackId : int { ModelViewStack = 0, ProjectionStack = 1 };

// Both stacks one identity matrix deep, the model-view stack current.
void ResetMatrixStacks();
void SelectMatrixStack(TMatrixStackId stack);
void LoadIdentityMatrix();
// Push copies the current stack's top; pushing a full stack or popping its last matrix does
// nothing (GL reports a stack overflow or underflow and leaves the stack as it was).
void PushMatrix();
void PopMatrix();
// Each multiplies the current stack's top on the right by the transformation.
void TranslateMatrix(float x, float y, float z);
// Degrees about the axis (x, y, z); an axis shorter than 1e-4 leaves the matrix as it was.
void RotateMatrix(float angle, float x, float y, float z);
void PerspectiveMatrix(double fovy, double aspect, double zNear, double zFar);
void LookAtMatrix(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
                  double upX, double upY, double upZ);

const TMatrix& TopMatrix(TMatrixStackId stack);
// projection * modelView: what takes a vertex to clip coordinates.
TMatrix MultiplyMatrices(const TMatrix& left, const TMatrix& right);
