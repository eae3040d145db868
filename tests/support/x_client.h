// SPDX-License-Identifier: MIT
// A small X client for display tests: finding the game's window, reading its title and
// sending it what a window manager would. Include after gtest: Xlib defines None, Bool, Status.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

// The last X protocol error, recorded instead of Xlib's default of ending the process: a window
// that vanishes while a test looks at it must fail that test, not kill the test program.
inline int XLastErrorCode = 0;
inline int XRecordError(Display*, XErrorEvent* event)
{
    XLastErrorCode = event->error_code;
    return 0;
}
inline Display* XOpenRecordingErrors()
{
    XSetErrorHandler(XRecordError);
    return XOpenDisplay(nullptr);
}

// The items of a window property of the given type, none when it is missing. Xlib hands format-8
// items over as bytes (TItem char) and format-32 items as longs (TItem long).
template <typename TItem>
std::vector<TItem> XPropertyItems(Display* display, Window window, const char* name, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* value = nullptr;
    std::vector<TItem> items;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1 << 20, False, type,
                           &actualType, &format, &count, &after, &value) == Success &&
        value != nullptr) {
        const TItem* first = reinterpret_cast<const TItem*>(value);
        items.assign(first, first + count);
    }
    if (value != nullptr) XFree(value);
    return items;
}

// The title as window managers read it: _NET_WM_NAME in UTF-8, or else the older WM_NAME (which
// the library leaves unset under a locale Xlib does not know).
inline std::string XWindowTitle(Display* display, Window window)
{
    const std::vector<char> name =
        XPropertyItems<char>(display, window, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False));
    std::string title(name.begin(), name.end());
    if (!title.empty()) return title;
    XTextProperty property;
    if (XGetWMName(display, window, &property) != 0 && property.value != nullptr) {
        title.assign(reinterpret_cast<const char*>(property.value), property.nitems);
        XFree(property.value);
    }
    return title;
}

// The first window under root whose title starts with prefix, or 0.
inline Window XFindWindow(Display* display, Window root, const std::string& prefix)
{
    if (root != DefaultRootWindow(display) && XWindowTitle(display, root).starts_with(prefix)) {
        return root;
    }
    Window parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count && found == 0; ++i) {
            found = XFindWindow(display, children[i], prefix);
        }
        XFree(children);
    }
    return found;
}

// Waits up to the timeout for a window whose title starts with prefix.
inline Window XWaitForWindow(Display* display, const std::string& prefix, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (Window w = XFindWindow(display, DefaultRootWindow(display), prefix)) return w;
        if (std::chrono::steady_clock::now() > deadline) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// What a window manager sends when the player clicks the close button.
inline void XSendCloseRequest(Display* display, Window window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}
