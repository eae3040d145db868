// SPDX-License-Identifier: MIT
#include "platform/glfw3_window.h"

#include <cstdio>

#include "platform/gamepad.h"
#include "platform/glfw2_keys.h"
#include "platform/letter_keys.h"
#include "platform/windowing.h"

static bool Initialised = false;
static GLFWwindow* Window = nullptr;
static const TWindowingSystem* Windowing = nullptr;
static char ErrorText[256] = "";
static bool StickyKeys = false;
static THeldKeys Pads; // the keys the gamepads hold; the keyboard's are GLFW's own

// How long a pass of the loop waits for window events while the window is unseen: the game
// sleeps then instead of running flat out.
static constexpr double UnseenEventWait = 0.1;

// Whether the window has had a key event. GLFW can deliver none without a keyboard and its
// layout (a Wayland seat may have no keyboard at all), and until one has come no letter can be
// down: the letters are not looked up on a layout that may not be there yet.
static bool KeyEventSeen = false;

// The keys whose produced character depends on the layout.
// clang-format off
static const int PrintableKeys[] = {
    GLFW_KEY_SPACE, GLFW_KEY_APOSTROPHE, GLFW_KEY_COMMA, GLFW_KEY_MINUS, GLFW_KEY_PERIOD,
    GLFW_KEY_SLASH, GLFW_KEY_0, GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_4, GLFW_KEY_5,
    GLFW_KEY_6, GLFW_KEY_7, GLFW_KEY_8, GLFW_KEY_9, GLFW_KEY_SEMICOLON, GLFW_KEY_EQUAL,
    GLFW_KEY_A, GLFW_KEY_B, GLFW_KEY_C, GLFW_KEY_D, GLFW_KEY_E, GLFW_KEY_F, GLFW_KEY_G,
    GLFW_KEY_H, GLFW_KEY_I, GLFW_KEY_J, GLFW_KEY_K, GLFW_KEY_L, GLFW_KEY_M, GLFW_KEY_N,
    GLFW_KEY_O, GLFW_KEY_P, GLFW_KEY_Q, GLFW_KEY_R, GLFW_KEY_S, GLFW_KEY_T, GLFW_KEY_U,
    GLFW_KEY_V, GLFW_KEY_W, GLFW_KEY_X, GLFW_KEY_Y, GLFW_KEY_Z, GLFW_KEY_LEFT_BRACKET,
    GLFW_KEY_BACKSLASH, GLFW_KEY_RIGHT_BRACKET, GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_WORLD_1,
    GLFW_KEY_WORLD_2,
};
// clang-format on

static void RecordError(int, const char* description)
{
    std::snprintf(ErrorText, sizeof ErrorText, "%s", description != nullptr ? description : "");
}

// The text a key produces on the current layout, or nullptr. A key this keyboard does not have
// has no scancode, and GLFW reports asking for its name as an error: it is skipped.
static const char* LayoutKeyName(int key)
{
    return glfwGetKeyScancode(key) == -1 ? nullptr : glfwGetKeyName(key, 0);
}

static int Glfw3KeyFor(int glfw2Key)
{
    switch (glfw2Key) {
    case Glfw2KeySpace: return GLFW_KEY_SPACE;
    case Glfw2KeyEsc: return GLFW_KEY_ESCAPE;
    case Glfw2KeyUp: return GLFW_KEY_UP;
    case Glfw2KeyDown: return GLFW_KEY_DOWN;
    case Glfw2KeyLeft: return GLFW_KEY_LEFT;
    case Glfw2KeyRight: return GLFW_KEY_RIGHT;
    }
    // Looked up at every poll, so a layout switched while playing takes effect at once. Each letter
    // is polled once a frame, so a cache of the answer would never be hit.
    if (glfw2Key >= 'A' && glfw2Key <= 'Z') {
        const int usPosition = GLFW_KEY_A + (glfw2Key - 'A');
        if (!KeyEventSeen) {
            return usPosition;
        }
        return FindLetterKey(static_cast<char>(glfw2Key), usPosition, PrintableKeys, LayoutKeyName);
    }
    return GLFW_KEY_UNKNOWN;
}

static void NoteKeyEvent(GLFWwindow*, int, int, int, int) { KeyEventSeen = true; }

// GLFW's gamepad buttons, in the order of TPadButton.
static const int GlfwButtons[PadButtonCount] = {GLFW_GAMEPAD_BUTTON_A,
                                                GLFW_GAMEPAD_BUTTON_B,
                                                GLFW_GAMEPAD_BUTTON_Y,
                                                GLFW_GAMEPAD_BUTTON_LEFT_BUMPER,
                                                GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
                                                GLFW_GAMEPAD_BUTTON_DPAD_UP,
                                                GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
                                                GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
                                                GLFW_GAMEPAD_BUTTON_DPAD_RIGHT};

// A joystick as the game reads it: through GLFW's gamepad mapping where GLFW's database knows the
// pad, otherwise by its first two axes alone.
static TPadReading ReadJoystick(int joystick)
{
    TPadReading pad;
    pad.Present = glfwJoystickPresent(joystick) == GLFW_TRUE;
    GLFWgamepadstate state;
    if (pad.Present && glfwJoystickIsGamepad(joystick) == GLFW_TRUE &&
        glfwGetGamepadState(joystick, &state) == GLFW_TRUE) {
        pad.Standard = true;
        for (int button = 0; button < PadButtonCount; ++button) {
            pad.Pressed[button] = state.buttons[GlfwButtons[button]] == GLFW_PRESS;
        }
        pad.LeftX = state.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
        pad.LeftY = state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
        pad.RightY = state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y];
        // GLFW's triggers run from -1 at rest to 1.
        pad.LeftTrigger = (state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] + 1) / 2;
        pad.RightTrigger = (state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] + 1) / 2;
    } else if (pad.Present) {
        int count = 0;
        const float* axes = glfwGetJoystickAxes(joystick, &count);
        pad.LeftX = axes != nullptr && count >= 1 ? axes[0] : 0;
        pad.LeftY = axes != nullptr && count >= 2 ? axes[1] : 0;
    }
    return pad;
}

// Every joystick slot, once a frame with the window's events; one plugged in since the last frame
// is read from this one on.
static void ReadJoysticks()
{
    static_assert(MaxPads == GLFW_JOYSTICK_LAST + 1);
    TPadReading pads[MaxPads];
    for (int joystick = 0; joystick < MaxPads; ++joystick) {
        pads[joystick] = ReadJoystick(joystick);
    }
    ReadPads(Pads, pads, MaxPads, StickyKeys);
}

bool Glfw3Init()
{
    ErrorText[0] = '\0';
    glfwSetErrorCallback(RecordError);
    Windowing = ChooseWindowingSystem(ErrorText, sizeof ErrorText);
    Initialised = Windowing != nullptr && glfwInit() == GLFW_TRUE;
    return Initialised;
}

void Glfw3Terminate()
{
    if (Window != nullptr) {
        Windowing->WindowClosing();
    }
    glfwTerminate();
    Initialised = false;
    Window = nullptr;
    StickyKeys = false;
    LetGoOfAllKeys(Pads);
}

bool Glfw3OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                     int depthBits, int stencilBits)
{
    // Not started (say, no display): keep the start-up's own error as the reason.
    if (!Initialised || Window != nullptr) {
        return false;
    }
    glfwDefaultWindowHints();
    if (redBits > 0) glfwWindowHint(GLFW_RED_BITS, redBits);
    if (greenBits > 0) glfwWindowHint(GLFW_GREEN_BITS, greenBits);
    if (blueBits > 0) glfwWindowHint(GLFW_BLUE_BITS, blueBits);
    glfwWindowHint(GLFW_ALPHA_BITS, alphaBits);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    // The window's size is in the desktop's own units: at a 200 % scale on X11 or Windows it opens
    // at twice as many pixels. Where the desktop scales windows itself (Wayland), GLFW ignores it.
    glfwWindowHint(GLFW_SCALE_TO_MONITOR, GLFW_TRUE);

    Windowing->HintWindow();

    Window = glfwCreateWindow(width, height, "", nullptr, nullptr);
    if (Window == nullptr) {
        return false;
    }
    glfwMakeContextCurrent(Window);
    Windowing->WindowOpened(Window);
    KeyEventSeen = false;
    glfwSetKeyCallback(Window, NoteKeyEvent);
    return true;
}

const char* Glfw3ErrorText() { return ErrorText; }

void Glfw3EnableStickyKeys()
{
    StickyKeys = true;
    if (Window != nullptr) {
        glfwSetInputMode(Window, GLFW_STICKY_KEYS, GLFW_TRUE);
    }
}

void Glfw3SwapInterval(int interval)
{
    if (Window != nullptr) {
        glfwSwapInterval(interval);
    }
}

double Glfw3Time() { return glfwGetTime(); }

void Glfw3SetTitle(const char* title)
{
    if (Window != nullptr) {
        glfwSetWindowTitle(Window, title);
    }
}

void Glfw3SwapAndPoll()
{
    if (Window == nullptr) {
        return;
    }
    Windowing->BeforeSwap();
    glfwSwapBuffers(Window);
    Glfw3PollEvents();
}

void Glfw3PollEvents()
{
    if (Window == nullptr) {
        return;
    }
    if (Windowing->Unseen()) {
        Windowing->WaitWhileUnseen(UnseenEventWait);
    } else {
        glfwPollEvents();
    }
    ReadJoysticks();
}

bool Glfw3KeyPressed(int glfw2Key)
{
    const int key = Glfw3KeyFor(glfw2Key);
    const bool byKeyboard =
        Window != nullptr && key != GLFW_KEY_UNKNOWN && glfwGetKey(Window, key) == GLFW_PRESS;
    const bool byPad = PollHeldKey(Pads, glfw2Key); // asked either way: it uses up a pad's sticky press
    return byKeyboard || byPad;
}

bool Glfw3WindowOpen() { return Window != nullptr && glfwWindowShouldClose(Window) == GLFW_FALSE; }

bool Glfw3WindowUnseen() { return Window != nullptr && Windowing->Unseen(); }

const char* Glfw3LostDisplay()
{
    const char* lost = Window != nullptr && !Glfw3WindowOpen() ? Windowing->LostConnection() : nullptr;
    return lost != nullptr ? lost : "";
}

void Glfw3DrawingAreaSize(int* width, int* height)
{
    *width = 0;
    *height = 0;
    if (Window != nullptr) {
        glfwGetFramebufferSize(Window, width, height);
    }
}
