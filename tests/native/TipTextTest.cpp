// Cutting tooltip texts of code page 936 to the notification area's field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls/TipText.h"

TEST(TipText, CutsBetweenCharactersNeverInsideOne)
{
    EXPECT_EQ(0u, TipTextLength(nullptr, 63));
    EXPECT_EQ(5u, TipTextLength("Kovna", 63));
    EXPECT_EQ(63u, TipTextLength(std::string(70, 'k').c_str(), 63));
    // "关机" is four bytes: a cut after three keeps only the first character.
    EXPECT_EQ(2u, TipTextLength("关机", 3));
    EXPECT_EQ(4u, TipTextLength("关机", 4));
    // The second byte of a pair may look like ASCII or like a lead byte.
    EXPECT_EQ(3u, TipTextLength("k\x81\x40k", 3));
    EXPECT_EQ(1u, TipTextLength("k\x81\x81k", 2));
    // 0x80 stands alone; a lead byte at the very end does too.
    EXPECT_EQ(2u, TipTextLength("\x80k", 2));
    EXPECT_EQ(2u, TipTextLength("k\x81", 63));
}

TEST(TipText, CopyNeverOverrunsTheField)
{
    char field[8 + 4];
    std::memset(field, '#', sizeof field);
    CopyTipText(field, 8, "k关关关关");  // 9 bytes, a pair straddles the end
    EXPECT_STREQ("k关关关", field);
    EXPECT_EQ('#', field[8]);

    CopyTipText(field, 8, nullptr);
    EXPECT_STREQ("", field);
}
