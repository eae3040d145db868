// SPDX-License-Identifier: MIT
// The portable game's own _dl_find_object (src/platform/older_glibc.cpp) against the C library's:
// built as the portable game is, with the C++ runtime linked in, so that this program's unwinder
// asks the one defined here.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

using TFindObject = int (*)(void*, dl_find_object*);

[[gnu::noinline]] void ThrowThroughFrames(int depth)
{
    if (depth == 0) throw std::runtime_error("thrown");
    ThrowThroughFrames(depth - 1);
    std::puts(""); // not a tail call
}

TEST(OlderGlibc, FindsTheObjectsTheCLibraryFinds)
{
    const auto glibc = reinterpret_cast<TFindObject>(dlvsym(RTLD_DEFAULT, "_dl_find_object", "GLIBC_2.35"));
    ASSERT_NE(glibc, nullptr) << "this C library has no _dl_find_object to compare with";
    int onTheStack = 0;
    void* addresses[] = {reinterpret_cast<void*>(&ThrowThroughFrames), reinterpret_cast<void*>(&std::puts),
                         reinterpret_cast<void*>(static_cast<double (*)(double)>(&std::cos))};
    for (void* address : addresses) {
        dl_find_object ours{}, theirs{};
        ASSERT_EQ(_dl_find_object(address, &ours), 0);
        ASSERT_EQ(glibc(address, &theirs), 0);
        EXPECT_EQ(ours.dlfo_eh_frame, theirs.dlfo_eh_frame);
        EXPECT_EQ(ours.dlfo_link_map, theirs.dlfo_link_map);
        EXPECT_LE(ours.dlfo_map_start, address);
        EXPECT_GT(ours.dlfo_map_end, address);
    }
    dl_find_object nowhere{};
    EXPECT_EQ(_dl_find_object(&onTheStack, &nowhere), glibc(&onTheStack, &nowhere));
}

TEST(OlderGlibc, AnExceptionUnwindsThroughTheGamesFrames)
{
    EXPECT_THROW(ThrowThroughFrames(5), std::runtime_error);
}

} // namespace
