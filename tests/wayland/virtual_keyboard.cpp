// SPDX-License-Identifier: MIT
// A keyboard for a wlroots compositor's seat, as a remote-desktop client or a plugged-in keyboard
// would add one: it uploads a whole standard keymap (the file given, as `xkbcli compile-keymap`
// writes it) and sends evdev key codes, read one command a line from standard input:
//   down CODE | up CODE | tap CODE    press, release, or press and release a key
//   sync                              prints "ok" once the compositor has taken what came before
// The keyboard exists from start-up until standard input ends.
//   virtual_keyboard KEYMAP_FILE
// The protocol (virtual-keyboard-unstable-v1) is described here by hand: three requests, no events.
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern const wl_interface VirtualKeyboardInterface;

static const wl_interface* CreateTypes[] = {&wl_seat_interface, &VirtualKeyboardInterface};
static const wl_message ManagerRequests[] = {{"create_virtual_keyboard", "on", CreateTypes}};
static const wl_interface ManagerInterface = {
    "zwp_virtual_keyboard_manager_v1", 1, 1, ManagerRequests, 0, nullptr};

static const wl_interface* NoTypes[] = {nullptr, nullptr, nullptr, nullptr};
static const wl_message KeyboardRequests[] = {
    {"keymap", "uhu", NoTypes},
    {"key", "uuu", NoTypes},
    {"modifiers", "uuuu", NoTypes},
    {"destroy", "", NoTypes},
};
const wl_interface VirtualKeyboardInterface = {"zwp_virtual_keyboard_v1", 1, 4, KeyboardRequests, 0, nullptr};

enum : std::uint32_t { RequestKeymap = 0, RequestKey = 1, RequestDestroy = 3 };
constexpr std::uint32_t KeymapFormatXkbV1 = 1;

static wl_seat* Seat = nullptr;
static wl_proxy* Manager = nullptr;

static void Announce(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    if (std::strcmp(interface, "wl_seat") == 0 && Seat == nullptr) {
        Seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ManagerInterface.name) == 0) {
        Manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &ManagerInterface, 1));
    }
}

static void Withdraw(void*, wl_registry*, std::uint32_t) {}

static const wl_registry_listener RegistryListener = {Announce, Withdraw};

static std::uint32_t Milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s KEYMAP_FILE\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1]);
    std::stringstream text;
    text << file.rdbuf();
    const std::string keymap = text.str();
    if (!file || keymap.empty()) {
        std::fprintf(stderr, "virtual_keyboard: cannot read the keymap %s\n", argv[1]);
        return 1;
    }

    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual_keyboard: cannot connect to the compositor\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &RegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (Seat == nullptr || Manager == nullptr) {
        std::fprintf(stderr, "virtual_keyboard: the compositor offers no seat or no virtual keyboards\n");
        return 1;
    }

    auto* keyboard = reinterpret_cast<wl_proxy*>(
        wl_proxy_marshal_flags(Manager, 0, &VirtualKeyboardInterface, 1, 0, Seat, nullptr));
    // The keymap goes over as a file, with its terminating NUL.
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, keymap.c_str(), keymap.size() + 1) != static_cast<ssize_t>(keymap.size() + 1)) {
        std::fprintf(stderr, "virtual_keyboard: cannot hand over the keymap\n");
        return 1;
    }
    wl_proxy_marshal_flags(keyboard, RequestKeymap, nullptr, 1, 0, KeymapFormatXkbV1, fd,
                           static_cast<std::uint32_t>(keymap.size() + 1));
    close(fd);
    wl_display_roundtrip(display);

    auto key = [&](std::uint32_t code, std::uint32_t pressed) {
        wl_proxy_marshal_flags(keyboard, RequestKey, nullptr, 1, 0, Milliseconds(), code, pressed);
    };
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string command;
        std::uint32_t code = 0;
        words >> command >> code;
        if (command == "down" || command == "tap") key(code, 1);
        if (command == "up" || command == "tap") key(code, 0);
        if (wl_display_roundtrip(display) < 0) {
            std::fprintf(stderr, "virtual_keyboard: lost the compositor\n");
            return 1;
        }
        if (command == "sync") std::printf("ok\n");
        std::fflush(stdout);
    }
    wl_proxy_marshal_flags(keyboard, RequestDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
