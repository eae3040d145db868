// SPDX-License-Identifier: MIT
#include "render/scene.h"

#include <span>

#include "render/gl_headers.h"
#include "world/game_state.h"
#include "world/geometry.h"

struct TColour {
    float Red, Green, Blue;
};

// Components above 1 are passed as they stand; GL clamps them, which gives the named colours.
static constexpr TColour Red = {1, 0, 0};
static constexpr TColour Red1 = {0.95f, 0, 0};
static constexpr TColour Red2 = {0.75f, 0, 0};
static constexpr TColour Yellow = {2.45f, 1.84f, 0};
static constexpr TColour Floor = {0.67f, 0.03f, 0.03f};
static constexpr TColour Blue = {0, 0, 1.6f};
static constexpr TColour DarkBlue = {0, 0, 0.64f};
static constexpr TColour Cyan = {0, 1.28f, 1.92f};

// One vertex of a face: which corner of the footprint, at which height, in which colour.
struct TFaceVertex {
    int Corner;
    float Height;
    TColour Colour;
};
using TQuad = TFaceVertex[4];

// The board in its own frame: the face towards the camera (y -0.5), the face towards the floor
// (y 0), then the four sides. Corner 3 (front-left) is yellow so the player sees which way the
// board faces.
static constexpr TQuad BoardQuads[6] = {
    {{0, -0.5f, Red}, {1, -0.5f, Red1}, {2, -0.5f, Red}, {3, -0.5f, Yellow}},
    {{0, 0, Red}, {1, 0, Red2}, {2, 0, Red}, {3, 0, Yellow}},
    {{0, -0.5f, Red}, {0, 0, Red2}, {3, 0, Yellow}, {3, -0.5f, Yellow}},
    {{1, -0.5f, Red}, {1, 0, Red2}, {2, 0, Red}, {2, -0.5f, Red}},
    {{3, -0.5f, Yellow}, {2, -0.5f, Red2}, {2, 0, Red}, {3, 0, Yellow}},
    {{0, -0.5f, Red}, {1, -0.5f, Red2}, {1, 0, Red}, {0, 0, Red2}},
};

// A block rises from its base in the floor (0.5) to its cap (-2), which faces the camera.
static constexpr TQuad BlockQuads[6] = {
    {{0, -2, Blue}, {1, -2, DarkBlue}, {2, -2, Blue}, {3, -2, Cyan}},
    {{0, 0.5f, Blue}, {1, 0.5f, DarkBlue}, {2, 0.5f, Blue}, {3, 0.5f, Cyan}},
    {{0, -2, Blue}, {0, 0.5f, DarkBlue}, {3, 0.5f, Cyan}, {3, -2, Cyan}},
    {{1, -2, Blue}, {1, 0.5f, DarkBlue}, {2, 0.5f, Blue}, {2, -2, Blue}},
    {{3, -2, Cyan}, {2, -2, DarkBlue}, {2, 0.5f, Blue}, {3, 0.5f, Cyan}},
    {{0, -2, Blue}, {1, -2, DarkBlue}, {1, 0.5f, Blue}, {0, 0.5f, DarkBlue}},
};

// A wedge has a cap and three sides; a base would lie in the floor.
static constexpr TFaceVertex WedgeCap[3] = {{0, -2, Blue}, {1, -2, DarkBlue}, {2, -2, Blue}};
static constexpr TQuad WedgeQuads[3] = {
    {{0, -2, Blue}, {0, 0.5f, DarkBlue}, {2, 0.5f, Cyan}, {2, -2, Cyan}},
    {{1, -2, Blue}, {1, 0.5f, DarkBlue}, {2, 0.5f, Blue}, {2, -2, Blue}},
    {{0, -2, Blue}, {1, -2, DarkBlue}, {1, 0.5f, Blue}, {0, 0.5f, DarkBlue}},
};

static void Vertex(TColour colour, double x, double y, double z)
{
    glColor3f(colour.Red, colour.Green, colour.Blue);
    glVertex3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

static void Faces(std::span<const TFaceVertex> vertices, std::span<const TFloorPoint> corners)
{
    for (const TFaceVertex& v : vertices) {
        Vertex(v.Colour, corners[v.Corner].x, v.Height, corners[v.Corner].z);
    }
}

static void Quads(std::span<const TQuad> quads, std::span<const TFloorPoint> corners)
{
    glBegin(GL_QUADS);
    for (const TQuad& quad : quads) {
        Faces(quad, corners);
    }
    glEnd();
}

static void DrawBoard()
{
    glPushMatrix();
    glTranslatef(static_cast<float>(GameState.PosX), 30, static_cast<float>(GameState.PosZ));
    glRotatef(static_cast<float>(GameState.Heading), 0, 1, 0);
    glRotatef(static_cast<float>(GameState.Tilt), 1, 0, 0);

    // The board's own axes, black: they show only against the floor or an obstacle.
    glBegin(GL_LINES);
    glColor3f(0, 0, 0);
    glVertex2i(0, 0);
    glVertex2i(0, 1);
    glVertex2i(0, 0);
    glVertex2i(1, 0);
    glVertex2i(0, 0);
    glVertex3i(0, 0, 1);
    glEnd();

    Quads(BoardQuads, GameState.BoardShape);
    glPopMatrix();
}

static void DrawArena()
{
    glPushMatrix();
    glTranslatef(0, 30, 0);

    const TFloorPoint floorCorners[4] = {
        {GameState.ArenaMinX, GameState.ArenaMinZ},
        {GameState.ArenaMaxX, GameState.ArenaMinZ},
        {GameState.ArenaMaxX, GameState.ArenaMaxZ},
        {GameState.ArenaMinX, GameState.ArenaMaxZ},
    };
    glBegin(GL_QUADS);
    for (const TFloorPoint& corner : floorCorners) {
        Vertex(Floor, corner.x, 0.5, corner.z);
    }
    glEnd();

    for (const TBlock& block : GameState.Blocks) {
        Quads(BlockQuads, block);
    }
    for (const TWedge& wedge : GameState.Wedges) {
        glBegin(GL_TRIANGLES);
        Faces(WedgeCap, wedge);
        glEnd();
        Quads(WedgeQuads, wedge);
    }
    glPopMatrix();
}

void DrawScene()
{
    DrawBoard();
    DrawArena();
}
