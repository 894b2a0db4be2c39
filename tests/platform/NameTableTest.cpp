#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/NameTable.h"

namespace {

TEST(NameTable, TheFirstNumberOfANameStays)
{
    CNameTable table(3);
    table.Add("top", 0);
    table.Add("a", 2);
    table.Add("top", 5);
    EXPECT_EQ(table.Find("top"), 0);
    EXPECT_EQ(table.Find("a"), 2);
    EXPECT_EQ(table.Find("A"), -1);
    EXPECT_EQ(table.Find(""), -1);
    table.Add("", 7);
    EXPECT_EQ(table.Find(""), 7);
}

// More names than the table was made for at first, and names that differ
// only at their end, are all kept apart.
TEST(NameTable, ManyNamesAreKeptApart)
{
    std::vector<std::string> names;
    for (int i = 0; i < 5000; ++i) names.push_back("section-" + std::to_string(i));
    CNameTable table(names.size());
    for (size_t i = 0; i < names.size(); ++i) table.Add(names[i], static_cast<int>(i));
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(table.Find(names[i]), static_cast<int>(i));
    EXPECT_EQ(table.Find("section-5000"), -1);
    CNameTable empty(0);
    EXPECT_EQ(empty.Find("x"), -1);
}

}  // namespace
