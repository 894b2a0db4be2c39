#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "conversion/Conversion.h"

namespace {

const char* const NoChange = "(null)";

// The escaped text, or NoChange when EscapeText reports nothing to do.
std::string Escaped(const char* text, const char* triggers = "&<>", const char* amp = "&amp;")
{
    std::unique_ptr<char[]> result(EscapeText(text, triggers, amp));
    return result ? std::string(result.get()) : NoChange;
}

TEST(TextEscape, NothingToDoWithoutATrigger)
{
    EXPECT_EQ(Escaped(""), NoChange);
    EXPECT_EQ(Escaped("plain \"text\" $(x) \xE9"), NoChange);
    // Only the triggers decide whether the text is processed at all.
    EXPECT_EQ(Escaped("a<b", "&", ";"), NoChange);
}

TEST(TextEscape, BareAmpersandsAndAngles)
{
    EXPECT_EQ(Escaped("Tom & Jerry"), "Tom &amp; Jerry");
    EXPECT_EQ(Escaped("x<y>z"), "x&lt;y&gt;z");
    EXPECT_EQ(Escaped("x&"), "x&amp;");
    EXPECT_EQ(Escaped("&&"), "&amp;&amp;");
    EXPECT_EQ(Escaped("\"$\xE9\" <"), "\"$\xE9\" &lt;");
}

// A reference is '&' with a ';' among the next seven bytes; it is copied
// lower-cased, whatever it holds.
TEST(TextEscape, ReferencesAreKeptLowerCased)
{
    EXPECT_EQ(Escaped("a &AMP; b"), "a &amp; b");
    EXPECT_EQ(Escaped("&Eacute;"), "&eacute;");
    EXPECT_EQ(Escaped("&#x20AC;"), "&#x20ac;");
    EXPECT_EQ(Escaped("&#x20AC1;"), "&amp;#x20AC1;");
    EXPECT_EQ(Escaped("a & b;"), "a & b;");
    EXPECT_EQ(Escaped("&A<B;x>"), "&a<b;x&gt;");
    EXPECT_EQ(Escaped("&nbsp"), "&amp;nbsp");
}

TEST(TextEscape, AddressesTakeTheReplacementText)
{
    EXPECT_EQ(Escaped("page?a=1&b=2", "&", ";"), "page?a=1;b=2");
    EXPECT_EQ(Escaped("page?a=1&amp;b=2", "&", ";"), "page?a=1&amp;b=2");
    EXPECT_EQ(Escaped("a=1&b=<2>", "&", ";"), "a=1;b=&lt;2&gt;");
    EXPECT_EQ(Escaped("a&b&c", "&", "&amp;amp;"), "a&amp;amp;b&amp;amp;c");
}

}  // namespace
