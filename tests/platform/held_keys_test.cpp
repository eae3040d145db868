// SPDX-License-Identifier: MIT
// The record of the keys each source holds, which the keyboard, the touch controls, the gamepads
// and the test double share: a key stays down while any source holds it, and with sticky keys a
// press let go of before the poll is read once.
#include <gtest/gtest.h>

#include <string>

#include "platform/held_keys.h"

namespace {

constexpr int Up = 283, Left = 285;

TEST(HeldKeys, AKeyIsDownWhileAnySourceHoldsItAndTheLastLetGoReadsOnceWhenSticky)
{
    THeldKeys keys;
    SourceHoldsKey(keys, "ArrowUp", Up);
    SourceHoldsKey(keys, "control ArrowUp", Up);
    SourceHoldsKey(keys, "control ArrowUp", Up); // a second finger on the same control
    EXPECT_TRUE(SourceLetsGoOfKey(keys, "ArrowUp", Up, true));
    EXPECT_TRUE(PollHeldKey(keys, Up)) << "the control still holds it";
    EXPECT_TRUE(SourceLetsGoOfKey(keys, "control ArrowUp", Up, true));
    EXPECT_FALSE(SourceLetsGoOfKey(keys, "control ArrowUp", Up, true)) << "one hold per source and key";
    EXPECT_TRUE(PollHeldKey(keys, Up)) << "let go since the last poll";
    EXPECT_FALSE(PollHeldKey(keys, Up)) << "the sticky press is used up";

    // Without sticky keys a key let go of is up at once; held again, a pending press is not kept.
    SourceHoldsKey(keys, "pad 0", Up);
    SourceLetsGoOfKey(keys, "pad 0", Up, false);
    EXPECT_FALSE(PollHeldKey(keys, Up));
    SourceHoldsKey(keys, "pad 0", Left);
    SourceLetsGoOfKey(keys, "pad 0", Left, true);
    SourceHoldsKey(keys, "pad 1", Left);
    EXPECT_TRUE(PollHeldKey(keys, Left));
    SourceLetsGoOfKey(keys, "pad 1", Left, false);
    EXPECT_FALSE(PollHeldKey(keys, Left)) << "a press from before the hold is not read again";
}

TEST(HeldKeys, ASourceLetsGoOfWhateverItHoldsAndEverythingCanBeDroppedAtOnce)
{
    THeldKeys keys;
    // A key's release lets go of the game key it pressed, whatever the layout makes of it now.
    SourceHoldsKey(keys, "KeyW", 'Z');
    SourceHoldsKey(keys, "pad 3", Up);
    SourceHoldsKey(keys, "pad 3", Left);
    EXPECT_TRUE(SourceLetsGoOfKey(keys, "KeyW", AnyHeldKey, true));
    EXPECT_FALSE(SourceLetsGoOfKey(keys, "KeyW", AnyHeldKey, true));
    EXPECT_TRUE(SourceLetsGoOfKey(keys, "pad 3", AnyHeldKey, false)) << "a pad pulled out";
    EXPECT_TRUE(PollHeldKey(keys, 'Z'));
    EXPECT_FALSE(PollHeldKey(keys, Up) || PollHeldKey(keys, Left));

    SourceHoldsKey(keys, "KeyA", 'A');
    SourceLetsGoOfKey(keys, "KeyS", AnyHeldKey, true);
    SourceHoldsKey(keys, "KeyD", 'D');
    SourceLetsGoOfKey(keys, "KeyD", 'D', true);
    LetGoOfAllKeys(keys); // the page lost the keyboard
    EXPECT_FALSE(PollHeldKey(keys, 'A') || PollHeldKey(keys, 'D'));
}

TEST(HeldKeys, KeysAndSourcesBeyondTheRecordAreHeldSafely)
{
    THeldKeys keys;
    SourceHoldsKey(keys, "KeyQ", -5);
    SourceHoldsKey(keys, "KeyQ", HeldKeyCodes);
    EXPECT_FALSE(PollHeldKey(keys, -5) || PollHeldKey(keys, HeldKeyCodes));
    EXPECT_EQ(keys.HoldCount, 0);

    // A name longer than the record keeps is one source by what it keeps of it.
    const std::string longName(100, 'x');
    SourceHoldsKey(keys, longName.c_str(), Up);
    EXPECT_TRUE(SourceLetsGoOfKey(keys, longName.c_str(), Up, false));

    // More holds than the record has room for: the rest are not kept, and nothing overflows.
    for (int i = 0; i < 300; ++i) SourceHoldsKey(keys, ("pad " + std::to_string(i)).c_str(), Up);
    EXPECT_EQ(keys.HoldCount, 256);
    for (int i = 0; i < 300; ++i) SourceLetsGoOfKey(keys, ("pad " + std::to_string(i)).c_str(), Up, true);
    EXPECT_TRUE(PollHeldKey(keys, Up));
    EXPECT_FALSE(PollHeldKey(keys, Up));
}

} // namespace
