#include <gtest/gtest.h>

#include <string>

#include "support/TreeDump.h"

namespace {

const auto npos = std::string::npos;

// The content of a named anchor becomes a card when the deck's wml element
// is a root child that the walk has reached or that the page wrote as wml.
TEST(NamedAnchors, FindTheDeckAnywhereAtTheRoot)
{
    const std::string none = ConvertPage("<a name=\"a\">1</a>x<a name=\"b\">2</a>");
    EXPECT_EQ(none.find("card id=\"a\""), npos);
    EXPECT_NE(none.find("1x2"), npos);
    EXPECT_NE(ConvertPage("<a name=\"a\">1</a><wml><card id=\"c\"><p>y</p></card></wml>")
                  .find("<card id=\"a\""),
              npos);
    EXPECT_NE(ConvertPage("<html><body>x</body></html><a name=\"b\">2</a><a name=\"c\">3</a>")
                  .find("<card id=\"c\""),
              npos);
}

}  // namespace
