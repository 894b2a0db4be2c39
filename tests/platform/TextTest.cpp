#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

namespace {

TEST(TextHelpers, NameListsCompareWithoutCase)
{
    static const char list[] = "p\0br\0Table\0";
    EXPECT_TRUE(IsNameInList("P", list));
    EXPECT_TRUE(IsNameInList("TABLE", list));
    EXPECT_FALSE(IsNameInList("b", list));
    EXPECT_FALSE(IsNameInList("brr", list));
    EXPECT_FALSE(IsNameInList("", list));
    EXPECT_FALSE(IsNameInList(nullptr, list));
    EXPECT_FALSE(IsNameInList("p", nullptr));
    EXPECT_FALSE(IsNameInList("", ""));
    // Case folding is for ASCII letters only.
    EXPECT_FALSE(IsNameInList("\xC9", "\xE9\0"));
}

TEST(TextHelpers, BlankMeansNoByteAbove32)
{
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t\r\n\x01 "));
    EXPECT_FALSE(IsBlank(" x "));
    EXPECT_FALSE(IsBlank("\xA0"));
}

TEST(TextHelpers, CollapseWhitespaceInPlace)
{
    char text[] = "\r\n a\t\t b\x01\x1f" "c  \xA0\xA0 ";
    CollapseWhitespace(text);
    EXPECT_STREQ(text, " a b c \xA0\xA0 ");

    std::string owned = "x\n \n y ";
    CollapseWhitespace(owned);
    EXPECT_EQ(owned, "x y ");
    std::string empty;
    CollapseWhitespace(empty);
    EXPECT_EQ(empty, "");
}

// Long stretches are scanned eight bytes at a time: a blank anywhere in such
// a stretch, and bytes 33 and 128 to 255 around the boundary, must be seen.
TEST(TextHelpers, CollapseWhitespaceInLongStretches)
{
    std::string owned =
        "abcdefghijklmno\x7f\x80\xff!  \n\n\n\n\n\n\n\n\n\nstu\x20vwxyz0123456789\t";
    CollapseWhitespace(owned);
    EXPECT_EQ(owned, "abcdefghijklmno\x7f\x80\xff! stu vwxyz0123456789 ");
    std::string straddling = "abcdefg  hijklmn opqrstu  vwxyz";
    CollapseWhitespace(straddling);
    EXPECT_EQ(straddling, "abcdefg hijklmn opqrstu vwxyz");
    for (size_t at = 0; at < 20; ++at) {
        std::string text(20, '#');
        text[at] = '\x1f';
        text.insert(at, "\x01");
        CollapseWhitespace(text);
        std::string expected(20, '#');
        expected[at] = ' ';
        EXPECT_EQ(text, expected) << "blank at " << at;
    }
}

// The same answer as one byte at a time, for texts whose blanks, spaces and
// runs fall at every place of a block and across its ends.
TEST(TextHelpers, CollapseWhitespaceAgreesWithTheByteRule)
{
    auto byteByByte = [](const std::string& text) {
        std::string collapsed;
        for (char c : text) {
            const bool blank = static_cast<unsigned char>(c) <= 32;
            if (!blank)
                collapsed += c;
            else if (collapsed.empty() || collapsed.back() != ' ')
                collapsed += ' ';
        }
        return collapsed;
    };
    const char pieces[] = {'a', ' ', '\n', '\t', '\x80', '\xff', '\x21', '\x20', '\x1f', 'z'};
    unsigned seed = 7;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const size_t length = static_cast<size_t>(round % 70);
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            // Mostly letters, so that long clean stretches occur too.
            const unsigned pick = (seed >> 16) % 24;
            text += pick < sizeof pieces ? pieces[pick] : static_cast<char>('b' + pick % 20);
        }
        std::string collapsed = text;
        CollapseWhitespace(collapsed);
        EXPECT_EQ(collapsed, byteByByte(text)) << "round " << round;
    }
    std::string blanks(40, '\n');
    CollapseWhitespace(blanks);
    EXPECT_EQ(blanks, " ");
}

}  // namespace
