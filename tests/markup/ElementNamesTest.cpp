#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "markup/ElementNames.h"
#include "markup/Xmlnode.h"

namespace {

std::unique_ptr<CXmlObject> Tag(const std::string& name)
{
    auto record = std::make_unique<CXmlObject>();
    const std::string text = "<" + name + ">";
    record->SetText(text.data(), static_cast<int>(text.size()));
    return record;
}

TEST(ElementNames, CodesAreDistinctAndIgnoreCase)
{
    std::set<int> codes;
    for (const char* name : {"a", "b", "br", "td", "th", "tr", "span", "samp", "h1", "h6", "wml",
                             "textarea", "blockquote", "noscript"}) {
        const int code = ElementNameCode(name);
        EXPECT_NE(code, 0) << name;
        EXPECT_LT(code, static_cast<int>(ElementCodeBound)) << name;
        EXPECT_TRUE(codes.insert(code).second) << name;
        std::string upper = name;
        EXPECT_EQ(ElementNameCode(UpperCaseAscii(upper).c_str()), code) << name;
    }
    for (const char* name : {"", "x", "h7", "spam", "tables", "blockquotes", "t d"})
        EXPECT_EQ(ElementNameCode(name), 0) << name;
    EXPECT_EQ(ElementNameCode(nullptr), 0);
}

// Coded names learn their case from their code's name, others byte by byte.
TEST(ElementNames, RecordsKnowWhetherTheirNameIsLowerCase)
{
    for (const char* name : {"td", "blockquote", "custom-tag", "h1", "x"})
        EXPECT_TRUE(Tag(name)->IsNameLowerCase()) << name;
    for (const char* name : {"TD", "blockQuote", "Custom-tag", "H1", "X", "tD"})
        EXPECT_FALSE(Tag(name)->IsNameLowerCase()) << name;
    EXPECT_STREQ(ElementNameOfCode(ElementNameCode("TEXTAREA")), "textarea");
}

// A set answers like IsNameInList, also for lists with names that have no code.
TEST(ElementNames, SetsAnswerLikeNameLists)
{
    static const char coded[] = "p\0br\0table\0";
    static const char mixed[] = "p\0custom-tag\0";
    const CElementSet codedSet(coded);
    const CElementSet mixedSet(mixed);
    for (const char* name : {"p", "P", "br", "table", "td", "custom-tag", "CUSTOM-TAG", "x", ""}) {
        auto record = Tag(name);
        EXPECT_EQ(codedSet.Contains(record.get()), IsNameInList(record->GetName(), coded)) << name;
        EXPECT_EQ(mixedSet.Contains(record.get()), IsNameInList(record->GetName(), mixed)) << name;
    }
    EXPECT_FALSE(codedSet.Contains(nullptr));
    CXmlObject text;
    text.SetText("p", 1);
    EXPECT_FALSE(codedSet.Contains(&text));
}

}  // namespace
