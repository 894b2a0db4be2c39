#include <gtest/gtest.h>

#include <string>

#include "markup/Xmlnode.h"

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

}  // namespace
