// SPDX-License-Identifier: MIT
// The GLFW 2-style calls of platform.h, carried out by the browser: the window is the page's
// canvas, drawn with WebGL (gl_subset.h), as large as the page fits it; keys come from the page's
// key events, from its touch controls and from gamepads; the clock is the page's; the title is the
// document's; and the browser calls for each pass of the frame loop, one per animation frame.
#include "platform/platform.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "platform/gamepad.h"
#include "platform/web/browser.h"
#include "platform/web/gl_subset.h"

// The scene needs a finer depth buffer than the game asks for: its caps, the board and the floor
// lie 0.5 to 2.5 units apart about 30 units from the eye.
static constexpr int SceneDepthBits = 16;

static bool Initialised = false;
static bool WindowOpen = false;
static bool StickyKeys = false;
static int BufferWidth = 0, BufferHeight = 0; // the canvas's CSS size times devicePixelRatio
static char ErrorText[128] = "";
static bool (*FramePass)() = nullptr;

// The keys the keyboard's keys and the page's touch controls hold, each key known by its
// KeyboardEvent.code and each control as "control " and its key value: a key's release lets go of
// the game key it pressed even when the layout or Shift changed while it was held.
static THeldKeys Keys;

// The gamepads, read at the start of each animation frame, before its pass of the frame loop. The
// browser's standard layout numbers the buttons and axes: its buttons in the order of TPadButton,
// and its triggers, which are buttons there too.
static const int StandardButtons[PadButtonCount] = {0, 1, 3, 4, 5, 12, 13, 14, 15};
enum TStandardNumber : int {
    StandardLeftTrigger = 6,
    StandardRightTrigger = 7,
    StandardButtonCount = 17,
    StandardLeftX = 0,
    StandardLeftY = 1,
    StandardRightY = 3,
    StandardAxisCount = 4
};
static constexpr int PadValueCount = 2 + StandardButtonCount + StandardAxisCount;
static float PadValues[MaxPads][PadValueCount]; // as BrowserReadPads writes them
static THeldKeys Pads;

struct TNamedKey {
    const char* Value; // KeyboardEvent.key, and the older names some browsers still send
    int GameKey;
};
static const TNamedKey NamedKeys[] = {
    {"ArrowUp", GLFW_KEY_UP},     {"ArrowDown", GLFW_KEY_DOWN},
    {"ArrowLeft", GLFW_KEY_LEFT}, {"ArrowRight", GLFW_KEY_RIGHT},
    {" ", GLFW_KEY_SPACE},        {"Escape", GLFW_KEY_ESC},
    {"Up", GLFW_KEY_UP},          {"Down", GLFW_KEY_DOWN},
    {"Left", GLFW_KEY_LEFT},      {"Right", GLFW_KEY_RIGHT},
    {"Spacebar", GLFW_KEY_SPACE}, {"Esc", GLFW_KEY_ESC},
};

// True when text is exactly one character beyond ASCII, in UTF-8.
static bool OneNonAsciiCharacter(const char* text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    return length > 0 && std::strlen(text) == length;
}

// The game key a KeyboardEvent.key value names: a named key, or a letter in either case; 0 for
// anything else.
static int GameKeyNamed(const char* value)
{
    for (const TNamedKey& named : NamedKeys) {
        if (std::strcmp(value, named.Value) == 0) {
            return named.GameKey;
        }
    }
    const char first = value[0];
    if (value[1] == '\0' && ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z'))) {
        return first & ~0x20; // upper case
    }
    return 0;
}

// The game key a key event means, or 0 for a key the game does not use (dead keys, composition,
// unidentified keys, function keys and anything else), from its KeyboardEvent.key and .code
// values. Named keys by their key value; letters by the character the key writes on the player's
// layout, in either case; on a layout that writes another script's letter there (Cyrillic,
// Greek), by the key's US position, as on the desktop. With Ctrl, Alt or Meta held (shortcut) a
// key is a shortcut of the browser's, not the game's.
static int GameKeyFor(const char* value, const char* code, bool shortcut)
{
    if (shortcut) {
        return 0;
    }
    if (const int key = GameKeyNamed(value)) {
        return key;
    }
    if (OneNonAsciiCharacter(value) && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' &&
        code[3] <= 'Z' && code[4] == '\0') {
        return code[3];
    }
    return 0;
}

static void ReadGamepads()
{
    const int count = BrowserReadPads(&PadValues[0][0], MaxPads, StandardButtonCount, StandardAxisCount);
    TPadReading pads[MaxPads];
    for (int slot = 0; slot < count; ++slot) {
        const float* buttons = PadValues[slot] + 2;
        const float* axes = buttons + StandardButtonCount;
        TPadReading& pad = pads[slot];
        pad.Present = PadValues[slot][0] == 1;
        pad.Standard = PadValues[slot][1] == 1;
        for (int button = 0; button < PadButtonCount; ++button) {
            pad.Pressed[button] = buttons[StandardButtons[button]] > 0.5f;
        }
        pad.LeftTrigger = buttons[StandardLeftTrigger];
        pad.RightTrigger = buttons[StandardRightTrigger];
        pad.LeftX = axes[StandardLeftX];
        pad.LeftY = axes[StandardLeftY];
        pad.RightY = axes[StandardRightY];
    }
    ReadPads(Pads, pads, count, StickyKeys);
}

// A key of the keyboard went down or up (browser.h): true when it is one of the game's, which the
// page then keeps from the browser; every other key keeps its meaning. A physical key is known by
// its code, or by its value where the browser gives no code.
static int OnKey(const char* value, const char* code, int down, int shortcut)
{
    const int key = GameKeyFor(value, code, shortcut != 0);
    const char* identity = code[0] != '\0' ? code : value;
    if (down) {
        if (key != 0) {
            SourceHoldsKey(Keys, identity, key);
        }
        return key != 0;
    }
    return SourceLetsGoOfKey(Keys, identity, AnyHeldKey, StickyKeys) || key != 0;
}

// A touch control of the page (named by its key's KeyboardEvent.key value) pressed or let go: it
// holds its key as a key of its own would, beside the keyboard and the other controls.
static void OnControl(const char* value, int held)
{
    char identity[sizeof THold::Source];
    std::snprintf(identity, sizeof identity, "control %s", value);
    const int key = GameKeyNamed(value);
    if (held && key != 0) {
        SourceHoldsKey(Keys, identity, key);
    } else if (!held) {
        SourceLetsGoOfKey(Keys, identity, AnyHeldKey, StickyKeys);
    }
}

// The page no longer has the keyboard (another tab, another window): it will not hear the
// releases of the keys held now, so every key counts as released at once.
static EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*)
{
    LetGoOfAllKeys(Keys);
    return false;
}

static EM_BOOL OnVisibilityChange(int, const EmscriptenVisibilityChangeEvent* event, void*)
{
    if (event->hidden) {
        LetGoOfAllKeys(Keys);
        LetGoOfAllKeys(Pads); // no frame reads them while the page is hidden
    }
    return false;
}

static void ListenToThePage(bool listen)
{
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    BrowserListenToKeys(listen ? OnKey : nullptr);
    emscripten_set_blur_callback(window, nullptr, false, listen ? OnBlur : nullptr);
    emscripten_set_visibilitychange_callback(nullptr, false, listen ? OnVisibilityChange : nullptr);
    BrowserListenToControls(listen ? OnControl : nullptr);
    BrowserListenToPads(listen);
}

// The drawing buffer follows the canvas's size in the page, which the page fits to the screen
// (turning a phone refits it), and devicePixelRatio, which zooming or another screen changes.
static void FitDrawingBuffer()
{
    double cssWidth = 0, cssHeight = 0;
    BrowserCanvasSize(&cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int width = std::max(1, static_cast<int>(std::lround(cssWidth * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(cssHeight * ratio)));
    if (width != BufferWidth || height != BufferHeight) {
        BrowserSizeDrawingBuffer(width, height);
        BufferWidth = width;
        BufferHeight = height;
    }
}

int glfwInit()
{
    Initialised = true;
    ErrorText[0] = '\0';
    return 1;
}

// The end of the game: the page stops listening to the keys and says how to play again.
void glfwTerminate()
{
    if (WindowOpen) {
        ListenToThePage(false);
        LetGoOfAllKeys(Keys);
        LetGoOfAllKeys(Pads);
        BrowserShowMessage("ended", "");
    }
    WindowOpen = false;
    Initialised = false;
}

int glfwOpenWindow(int width, int height, int, int, int, int, int depthBits, int, int)
{
    if (!Initialised || WindowOpen) {
        return 0;
    }
    BrowserFitCanvas(width, height);
    FitDrawingBuffer();
    switch (OpenDrawing(std::max(depthBits, SceneDepthBits), BufferWidth, BufferHeight)) {
    case WebGLOpened: break;
    case TooFewDepthBits:
        std::snprintf(ErrorText, sizeof ErrorText, "this browser's WebGL has no depth buffer of %d bits",
                      std::max(depthBits, SceneDepthBits));
        return 0;
    default: std::snprintf(ErrorText, sizeof ErrorText, "this browser has no WebGL"); return 0;
    }
    LetGoOfAllKeys(Keys);
    ListenToThePage(true);
    WindowOpen = true;
    return 1;
}

void glfwEnable(int token)
{
    if (token == GLFW_STICKY_KEYS) {
        StickyKeys = true;
    }
}

// The browser paces the animation frames to the display; there is no swap interval to set.
void glfwSwapInterval(int) {}

double glfwGetTime() { return emscripten_get_now() / 1000.0; }

void glfwSetWindowTitle(const char* title) { BrowserSetTitle(title); }

// The frame is drawn now and shown by the browser when the animation frame returns; the page's
// events arrive between animation frames.
void glfwSwapBuffers() { FlushDrawing(); }

void glfwPollEvents() {}

int glfwGetKey(int key)
{
    const bool byPad = PollHeldKey(Pads, key); // asked either way: it uses up a pad's sticky press
    return PollHeldKey(Keys, key) || byPad ? GLFW_PRESS : GLFW_RELEASE;
}

int glfwGetWindowParam(int param)
{
    EmscriptenVisibilityChangeEvent visibility;
    switch (param) {
    case GLFW_OPENED: return WindowOpen ? 1 : 0;
    case GLFW_ICONIFIED:
        return WindowOpen && emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
                       visibility.hidden
                   ? 1
                   : 0;
    }
    return 0;
}

void glfwGetWindowSize(int* width, int* height)
{
    if (WindowOpen) {
        FitDrawingBuffer();
    }
    *width = WindowOpen ? BufferWidth : 0;
    *height = WindowOpen ? BufferHeight : 0;
}

const char* PlatformErrorText() { return ErrorText; }

const char* PlatformLostDisplay() { return ""; }

// In the page, in the player's words (the page holds them), and in the console.
void PlatformReportFailure(const char* line)
{
    std::fprintf(stderr, "%s\n", line);
    BrowserShowMessage("cannot-start", ErrorText[0] != '\0' ? ErrorText : line);
}

static EM_BOOL AnimationFrame(double, void*)
{
    if (WindowOpen) {
        ReadGamepads();
    }
    return FramePass != nullptr && FramePass();
}

void PlatformRunEachAnimationFrame(bool (*pass)())
{
    FramePass = pass;
    emscripten_request_animation_frame_loop(AnimationFrame, nullptr);
}
