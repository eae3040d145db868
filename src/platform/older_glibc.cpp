// SPDX-License-Identifier: MIT
// For the portable Linux game (scripts/build-portable), which links the C++ runtime statically and
// must start on any glibc from 2.34 on: the two calls of the C library that the runtime of
// Debian 12's GCC asks for but glibc 2.34 lacks, made here from calls glibc has had for long. The
// unwinder finds a frame's unwinding tables with _dl_find_object (glibc 2.35); std::random_device
// can draw from arc4random (glibc 2.36). Linked into the game, these definitions are the ones its
// runtime uses, and the game asks the system for neither; other libraries, the GL driver's among
// them, keep the system's own.
#include <dlfcn.h>
#include <link.h>
#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace {

struct TObjectSearch {
    void* Address;
    dl_find_object* Found;
};

// The loader tells where segments are as numbers.
void* AsPointer(std::uintptr_t address)
{
    return reinterpret_cast<void*>(address); // NOLINT(performance-no-int-to-ptr)
}

// Fills in the search's result when the object holds the address in one of its segments.
int LookAtObject(dl_phdr_info* object, size_t, void* data)
{
    auto& search = *static_cast<TObjectSearch*>(data);
    const auto address = reinterpret_cast<std::uintptr_t>(search.Address);
    std::uintptr_t start = UINTPTR_MAX, end = 0;
    bool holds = false;
    void* unwindingTables = nullptr;
    for (int i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[i];
        const std::uintptr_t from = object->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD) {
            start = std::min(start, from);
            end = std::max(end, from + segment.p_memsz);
            holds = holds || (address >= from && address < from + segment.p_memsz);
        } else if (segment.p_type == DLFO_EH_SEGMENT_TYPE) {
            unwindingTables = AsPointer(from);
        }
    }
    if (!holds) {
        return 0;
    }
    *search.Found = dl_find_object{};
    search.Found->dlfo_map_start = AsPointer(start);
    search.Found->dlfo_map_end = AsPointer(end);
    search.Found->dlfo_eh_frame = unwindingTables;
    Dl_info symbol;
    void* linkMap = nullptr;
    if (dladdr1(search.Address, &symbol, &linkMap, RTLD_DL_LINKMAP) != 0) {
        search.Found->dlfo_link_map = static_cast<link_map*>(linkMap);
    }
    return 1;
}

} // namespace

// Hidden: they stand in for the game's own runtime alone, not for the libraries it loads.
#define OWN_CALL __attribute__((visibility("hidden")))

extern "C" {

// The loaded object that holds the address: 0 with its mapping and its unwinding tables, or -1
// when no object holds it.
OWN_CALL int _dl_find_object(void* address, dl_find_object* result) noexcept
{
    TObjectSearch search = {address, result};
    return dl_iterate_phdr(LookAtObject, &search) != 0 ? 0 : -1;
}

// Random bits from the kernel, which never runs out of them once it has started.
OWN_CALL std::uint32_t arc4random() noexcept
{
    std::uint32_t value = 0;
    while (getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value) && errno == EINTR) {}
    return value;
}
}
