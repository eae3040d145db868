// SPDX-License-Identifier: MIT
#undef _FORTIFY_SOURCE // the calls below replace the C library's own, not its checked wrappers
#include "support/simulated_pad.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

// clang-format off
const TSimulatedPad Xbox360Pad = {
    BUS_USB, 0x045e, 0x028e, 0x0114, "Microsoft X-Box 360 pad",
    {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START, BTN_MODE, BTN_THUMBL, BTN_THUMBR},
    {{ABS_X, -32768, 32767, 0}, {ABS_Y, -32768, 32767, 0}, {ABS_Z, 0, 255, 0}, {ABS_RX, -32768, 32767, 0},
     {ABS_RY, -32768, 32767, 0}, {ABS_RZ, 0, 255, 0}, {ABS_HAT0X, -1, 1, 0}, {ABS_HAT0Y, -1, 1, 0}}};
const TSimulatedPad UnknownJoystick = {
    BUS_USB, 0x1234, 0x5678, 0x0100, "Tarnwick Test Stick",
    {BTN_TRIGGER, BTN_THUMB, BTN_THUMB2},
    {{ABS_X, 0, 255, 128}, {ABS_Y, 0, 255, 128}, {ABS_THROTTLE, 0, 255, 0}}};
// clang-format on

namespace {

// What the driver has reported and the reader has not read yet, as a kernel's evdev queue.
struct TDevice {
    bool Plugged;
    TSimulatedPad Pad;
    input_event Queue[64];
    int Head, Tail;
};

// Plain arrays, with the descriptions above constant: the C library's calls may come before any
// constructor has run.
TDevice Devices[8];
struct TOpened {
    int Fd, Number;
} Opened[32];
std::mutex Lock;
char Folder[64];

template <typename TFunction> TFunction* Real(const char* name) // the C library's own call
{
    return reinterpret_cast<TFunction*>(dlsym(RTLD_NEXT, name));
}

// The folder that stands for /dev/input, made at the first call that needs it.
const char* InputFolder()
{
    if (Folder[0] == '\0') {
        std::snprintf(Folder, sizeof Folder, "/tmp/tarnwick-input.XXXXXX");
        if (mkdtemp(Folder) == nullptr) std::abort();
        std::atexit([] {
            for (int number = 0; number < 8; ++number) UnplugPad(number);
            rmdir(Folder);
        });
    }
    return Folder;
}

// A path under /dev/input, in the simulated folder; any other path as it is.
const char* Mapped(const char* path, char* buffer, size_t size)
{
    if (path == nullptr || std::strncmp(path, "/dev/input", 10) != 0 ||
        (path[10] != '\0' && path[10] != '/')) {
        return path;
    }
    std::snprintf(buffer, size, "%s%s", InputFolder(), path + 10);
    return buffer;
}

TDevice* DeviceOf(int fd)
{
    for (const TOpened& opened : Opened) {
        if (opened.Fd == fd && fd > 0) return &Devices[opened.Number];
    }
    return nullptr;
}

int ButtonCount(const TSimulatedPad& pad)
{
    return static_cast<int>(std::find(pad.Buttons, pad.Buttons + 16, 0) - pad.Buttons);
}

int AxisCount(const TSimulatedPad& pad)
{
    return static_cast<int>(
        std::find_if(pad.Axes, pad.Axes + 8, [](const TSimulatedAxis& axis) { return axis.Maximum == 0; }) -
        pad.Axes);
}

void SetBit(void* bits, size_t size, int bit)
{
    if (static_cast<size_t>(bit / 8) < size) static_cast<unsigned char*>(bits)[bit / 8] |= 1 << (bit % 8);
}

// The evdev requests GLFW makes: the event types, buttons and axes a device has, its id, its name
// and an axis's range and value.
int Answer(const TSimulatedPad& pad, unsigned long request, void* out)
{
    const unsigned number = _IOC_NR(request);
    const size_t size = _IOC_SIZE(request);
    if (_IOC_TYPE(request) == 'E' && number >= 0x20 && number < 0x20 + EV_CNT) { // EVIOCGBIT
        std::memset(out, 0, size);
        const unsigned type = number - 0x20;
        if (type == 0) SetBit(out, size, EV_SYN), SetBit(out, size, EV_KEY), SetBit(out, size, EV_ABS);
        for (int i = 0; type == EV_KEY && i < ButtonCount(pad); ++i) SetBit(out, size, pad.Buttons[i]);
        for (int i = 0; type == EV_ABS && i < AxisCount(pad); ++i) SetBit(out, size, pad.Axes[i].Code);
        return static_cast<int>(size);
    }
    if (request == EVIOCGID) {
        *static_cast<input_id*>(out) = {pad.Bus, pad.Vendor, pad.Product, pad.Version};
        return 0;
    }
    if (_IOC_TYPE(request) == 'E' && number == _IOC_NR(EVIOCGNAME(0))) {
        std::snprintf(static_cast<char*>(out), size, "%s", pad.Name);
        return static_cast<int>(std::strlen(pad.Name) + 1);
    }
    for (int i = 0; i < AxisCount(pad); ++i) {
        if (request == EVIOCGABS(pad.Axes[i].Code)) {
            const TSimulatedAxis& axis = pad.Axes[i];
            *static_cast<input_absinfo*>(out) = {axis.Value, axis.Minimum, axis.Maximum, 0, 0, 0};
            return 0;
        }
    }
    errno = EINVAL;
    return -1;
}

// An event and the report that ends it, as the driver sends a change.
void Report(TDevice& device, unsigned short type, int code, int value)
{
    if (device.Tail + 2 > 64) return; // a reader that has stopped reading: the kernel drops too
    device.Queue[device.Tail++] = {{}, type, static_cast<unsigned short>(code), value};
    device.Queue[device.Tail++] = {{}, EV_SYN, SYN_REPORT, 0};
}

} // namespace

void PlugInPad(int number, const TSimulatedPad& pad)
{
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Devices[number] = TDevice{true, pad, {}, 0, 0};
    }
    char path[96];
    std::snprintf(path, sizeof path, "%s/event%d", InputFolder(), number);
    const int fd = open(path, O_CREAT | O_WRONLY | O_CLOEXEC, 0644); // inotify tells GLFW
    if (fd >= 0) close(fd);
}

void UnplugPad(int number)
{
    char path[96];
    std::snprintf(path, sizeof path, "%s/event%d", InputFolder(), number);
    const std::lock_guard<std::mutex> guard(Lock);
    if (Devices[number].Plugged) unlink(path);
    Devices[number].Plugged = false;
}

void PressPadButton(int number, int code, bool down)
{
    const std::lock_guard<std::mutex> guard(Lock);
    Report(Devices[number], EV_KEY, code, down ? 1 : 0);
}

void MovePadAxis(int number, int code, int value)
{
    const std::lock_guard<std::mutex> guard(Lock);
    TDevice& device = Devices[number];
    for (int i = 0; i < AxisCount(device.Pad); ++i) {
        if (device.Pad.Axes[i].Code == code) device.Pad.Axes[i].Value = value;
    }
    Report(device, EV_ABS, code, value);
}

extern "C" {

int open(const char* path, int flags, ...)
{
    static auto* const real = Real<int(const char*, int, ...)>("open");
    va_list arguments;
    va_start(arguments, flags);
    const auto mode = static_cast<mode_t>(va_arg(arguments, int));
    va_end(arguments);
    char buffer[256];
    const char* mapped = Mapped(path, buffer, sizeof buffer);
    const int fd = real(mapped, flags, mode);
    int number = -1;
    if (fd > 0 && mapped != path && std::sscanf(path, "/dev/input/event%d", &number) == 1 && number >= 0 &&
        number < 8) {
        const std::lock_guard<std::mutex> guard(Lock);
        TOpened* free =
            std::find_if(Opened, Opened + 32, [](const TOpened& opened) { return opened.Fd <= 0; });
        if (free != Opened + 32) *free = {fd, number};
    }
    return fd;
}

DIR* opendir(const char* path)
{
    static auto* const real = Real<DIR*(const char*)>("opendir");
    char buffer[256];
    return real(Mapped(path, buffer, sizeof buffer));
}

int inotify_add_watch(int fd, const char* path, uint32_t mask)
{
    static auto* const real = Real<int(int, const char*, uint32_t)>("inotify_add_watch");
    char buffer[256];
    return real(fd, Mapped(path, buffer, sizeof buffer), mask);
}

int ioctl(int fd, unsigned long request, ...)
{
    static auto* const real = Real<int(int, unsigned long, ...)>("ioctl");
    va_list arguments;
    va_start(arguments, request);
    void* out = va_arg(arguments, void*);
    va_end(arguments);
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (const TDevice* device = DeviceOf(fd)) {
            errno = ENODEV;
            return device->Plugged ? Answer(device->Pad, request, out) : -1;
        }
    }
    return real(fd, request, out);
}

// The queued events that fit; none queued: nothing to read yet, as from a non-blocking device.
ssize_t read(int fd, void* buffer, size_t size)
{
    static auto* const real = Real<ssize_t(int, void*, size_t)>("read");
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (TDevice* device = DeviceOf(fd)) {
            const int count =
                std::min(static_cast<int>(size / sizeof(input_event)), device->Tail - device->Head);
            if (!device->Plugged || count == 0) {
                errno = device->Plugged ? EAGAIN : ENODEV;
                device->Head = device->Tail = 0;
                return -1;
            }
            std::memcpy(buffer, device->Queue + device->Head, count * sizeof(input_event));
            device->Head += count;
            return static_cast<ssize_t>(count * sizeof(input_event));
        }
    }
    return real(fd, buffer, size);
}

int close(int fd)
{
    static auto* const real = Real<int(int)>("close");
    {
        const std::lock_guard<std::mutex> guard(Lock);
        for (TOpened& opened : Opened) {
            if (opened.Fd == fd) opened = {};
        }
    }
    return real(fd);
}
}
