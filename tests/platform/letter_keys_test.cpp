// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include "platform/letter_keys.h"

// Key positions named by the US letter printed on them, as GLFW 3 numbers them.
static const int Keys[] = {'A', 'M', 'P', 'Q', 'S', 'W', 'Z', ';', ','};
static std::map<int, const char*> Layout;
static const char* NameOnLayout(int key)
{
    auto found = Layout.find(key);
    return found == Layout.end() ? nullptr : found->second;
}

TEST(LetterKeys, FindTheKeyThatProducesTheLetterOnTheLayout)
{
    // A French layout: A and Q, Z and W swapped, M on the US semicolon key.
    Layout = {{'A', "q"}, {'Q', "a"}, {'Z', "w"}, {'W', "z"}, {';', "m"}, {',', ","}, {'S', "s"}, {'P', "p"}};
    EXPECT_EQ(FindLetterKey('Z', 'Z', Keys, NameOnLayout), 'W');
    EXPECT_EQ(FindLetterKey('S', 'S', Keys, NameOnLayout), 'S');
    EXPECT_EQ(FindLetterKey('P', 'P', Keys, NameOnLayout), 'P');
    EXPECT_EQ(FindLetterKey('M', 'M', Keys, NameOnLayout), ';');

    // A layout with no Latin letters (or none reported): the US position.
    Layout = {{'Z', "я"}, {'W', "ц"}};
    EXPECT_EQ(FindLetterKey('Z', 'Z', Keys, NameOnLayout), 'Z');
    EXPECT_EQ(FindLetterKey('M', 'M', Keys, NameOnLayout), 'M');

    // Upper-case names count, and the US position wins when it also produces the letter.
    Layout = {{'Z', "Z"}, {'W', "z"}};
    EXPECT_EQ(FindLetterKey('Z', 'Z', Keys, NameOnLayout), 'Z');
}
