// SPDX-License-Identifier: MIT
// Gamepads for the real GLFW library on a machine without any: this file takes over the C
// library's open, opendir, inotify_add_watch, ioctl, read and close for /dev/input, which it
// keeps in a folder of its own, and answers for the pads plugged in there as the kernel's evdev
// driver does. Linked into a test program, or preloaded into the game (simulated_pad_preload.cpp).
#pragma once

struct TSimulatedAxis {
    int Code, Minimum, Maximum, Value; // an ABS_* code and its range
};

// A pad as the kernel describes it.
struct TSimulatedPad {
    unsigned short Bus, Vendor, Product, Version;
    const char* Name;
    int Buttons[16];        // BTN_* codes, 0 ending the list
    TSimulatedAxis Axes[8]; // an axis of Maximum 0 ends the list
};

// An Xbox 360 pad, which GLFW's gamepad database knows; a joystick it does not.
extern const TSimulatedPad Xbox360Pad;
extern const TSimulatedPad UnknownJoystick;

// /dev/input/event<number> appears, or goes, as when a pad is plugged in or pulled out.
void PlugInPad(int number, const TSimulatedPad& pad);
void UnplugPad(int number);
// A change, which the pad reports to its next read as its driver would.
void PressPadButton(int number, int code, bool down);
void MovePadAxis(int number, int code, int value);
