// SPDX-License-Identifier: MIT
// The real game with every heap allocation counted: operator new (the game's own C++ code) and
// malloc (the whole process, the GL driver included). After a warm-up it counts over a number
// of frames, then ends the game as a closed window would and prints the figures per frame.
#include <cstdio>
#include <cstdlib>

#include "app/frame_loop.h"
#include "new_count.h"

static long MallocCalls = 0;

// glibc's own allocator behind an interposed malloc family.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* malloc(size_t size)
{
    ++MallocCalls;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size)
{
    ++MallocCalls;
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size)
{
    ++MallocCalls;
    return __libc_realloc(p, size);
}
}

static const long WarmUpFrames = 200;
static long MeasuredFrames = 2000;
static long Frames = 0;
static long NewAtStart = 0, MallocAtStart = 0;

extern "C" {
void __real__Z15glfwSwapBuffersv();
int __real__Z18glfwGetWindowParami(int param);

void __wrap__Z15glfwSwapBuffersv()
{
    __real__Z15glfwSwapBuffersv();
    if (++Frames == WarmUpFrames) {
        NewAtStart = NewCalls;
        MallocAtStart = MallocCalls;
    }
}

int __wrap__Z18glfwGetWindowParami(int param)
{
    return Frames >= WarmUpFrames + MeasuredFrames ? 0 : __real__Z18glfwGetWindowParami(param);
}
}

int main(int argc, char** argv)
{
    if (argc > 1) MeasuredFrames = std::atol(argv[1]);
    if (MeasuredFrames < 1) {
        std::fprintf(stderr, "usage: %s [frames to count, at least 1]\n", argv[0]);
        return 2;
    }
    const int status = RunGame();
    if (status == 0 && Frames < WarmUpFrames + MeasuredFrames) {
        // The swap was never seen, so the wrapped name no longer matches the platform's call.
        std::fprintf(stderr, "allocation_count: counted %ld of %ld frames; the swap wrapper missed them\n",
                     Frames, WarmUpFrames + MeasuredFrames);
        return 1;
    }
    if (status == 0) {
        std::printf("frames=%ld new_per_frame=%.4f malloc_per_frame=%.4f\n", MeasuredFrames,
                    double(NewCalls - NewAtStart) / MeasuredFrames,
                    double(MallocCalls - MallocAtStart) / MeasuredFrames);
    }
    return status;
}
