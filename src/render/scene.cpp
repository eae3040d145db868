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

// The board's faces in its own frame: Top towards the camera, Under towards the floor.
static constexpr float Top = -0.5f, Under = 0;
// An obstacle stands on the floor (Base) and rises to its cap, which faces the camera.
static constexpr float Base = FloorDepth, Cap = -2;

// The board: its top, its underside, then the four sides. Corner 3 (front-left) is yellow so the
// player sees which way the board faces.
static constexpr TQuad BoardQuads[6] = {
    {{0, Top, Red}, {1, Top, Red1}, {2, Top, Red}, {3, Top, Yellow}},
    {{0, Under, Red}, {1, Under, Red2}, {2, Under, Red}, {3, Under, Yellow}},
    {{0, Top, Red}, {0, Under, Red2}, {3, Under, Yellow}, {3, Top, Yellow}},
    {{1, Top, Red}, {1, Under, Red2}, {2, Under, Red}, {2, Top, Red}},
    {{3, Top, Yellow}, {2, Top, Red2}, {2, Under, Red}, {3, Under, Yellow}},
    {{0, Top, Red}, {1, Top, Red2}, {1, Under, Red}, {0, Under, Red2}},
};

// A block: its cap, its base, then the four sides.
static constexpr TQuad BlockQuads[6] = {
    {{0, Cap, Blue}, {1, Cap, DarkBlue}, {2, Cap, Blue}, {3, Cap, Cyan}},
    {{0, Base, Blue}, {1, Base, DarkBlue}, {2, Base, Blue}, {3, Base, Cyan}},
    {{0, Cap, Blue}, {0, Base, DarkBlue}, {3, Base, Cyan}, {3, Cap, Cyan}},
    {{1, Cap, Blue}, {1, Base, DarkBlue}, {2, Base, Blue}, {2, Cap, Blue}},
    {{3, Cap, Cyan}, {2, Cap, DarkBlue}, {2, Base, Blue}, {3, Base, Cyan}},
    {{0, Cap, Blue}, {1, Cap, DarkBlue}, {1, Base, Blue}, {0, Base, DarkBlue}},
};

// A wedge has a cap and three sides; a base would lie in the floor.
static constexpr TFaceVertex WedgeCap[3] = {{0, Cap, Blue}, {1, Cap, DarkBlue}, {2, Cap, Blue}};
static constexpr TQuad WedgeQuads[3] = {
    {{0, Cap, Blue}, {0, Base, DarkBlue}, {2, Base, Cyan}, {2, Cap, Cyan}},
    {{1, Cap, Blue}, {1, Base, DarkBlue}, {2, Base, Blue}, {2, Cap, Blue}},
    {{0, Cap, Blue}, {1, Cap, DarkBlue}, {1, Base, Blue}, {0, Base, DarkBlue}},
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
    glTranslatef(static_cast<float>(GameState.PosX), SceneY, static_cast<float>(GameState.PosZ));
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
    glTranslatef(0, SceneY, 0);

    const TFloorPoint floorCorners[4] = {
        {GameState.ArenaMinX, GameState.ArenaMinZ},
        {GameState.ArenaMaxX, GameState.ArenaMinZ},
        {GameState.ArenaMaxX, GameState.ArenaMaxZ},
        {GameState.ArenaMinX, GameState.ArenaMaxZ},
    };
    glBegin(GL_QUADS);
    for (const TFloorPoint& corner : floorCorners) {
        Vertex(Floor, corner.x, FloorDepth, corner.z);
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
