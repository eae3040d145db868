// SPDX-License-Identifier: MIT
// Counts the heap allocations of the game's own C++ code: the global operator new, replaced here.
// Include it in one source file of a program only.
#pragma once

#include <cstdlib>
#include <new>

inline long NewCalls = 0;

void* operator new(std::size_t size)
{
    ++NewCalls;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
