#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "conversion/Conversion.h"

namespace {

const char* const NoChange = "(unchanged)";

std::string Escaped(const char* text, const CEscapeRules& rules = TextRunRules)
{
    std::string out;
    return EscapeText(text, strlen(text), rules, out) ? out : NoChange;
}

std::string InAttribute(const char* text) { return Escaped(text, AttributeRules); }

std::string InLink(const char* text) { return Escaped(text, {";", true, false, false}); }

TEST(TextEscape, TextWithoutReferencesOrMarkupStays)
{
    EXPECT_EQ(Escaped(""), NoChange);
    EXPECT_EQ(Escaped("plain \"text\" $5 \xE9"), NoChange);
    EXPECT_EQ(Escaped("a &amp; b &lt;c&gt; &#233;"), NoChange);
    EXPECT_EQ(InLink("a<b\"$"), NoChange);
}

// A reference is "&name;", "&#digits;" or "&#xhex;"; every other '&' is escaped.
TEST(TextEscape, NoBareAmpersandSurvives)
{
    EXPECT_EQ(Escaped("Tom & Jerry"), "Tom &amp; Jerry");
    EXPECT_EQ(Escaped("a & b;"), "a &amp; b;");
    EXPECT_EQ(Escaped("x& &&"), "x&amp; &amp;&amp;");
    EXPECT_EQ(Escaped("&#; &#x; &#12 &#xZ;"), "&amp;#; &amp;#x; &amp;#12 &amp;#xZ;");
    EXPECT_EQ(Escaped("&bogus; &Copy;"), "&amp;bogus; &amp;Copy;");
    EXPECT_EQ(Escaped("x<y>z"), "x&lt;y&gt;z");
}

// WML knows seven names; HTML's other names become the numbers of their
// characters, read in the case the page wrote.
TEST(TextEscape, NamedReferences)
{
    EXPECT_EQ(Escaped("&AMP; &Lt; &QUOT; &apos; &NBSP; &Shy; &GT;"),
              "&amp; &lt; &quot; &apos; &nbsp; &shy; &gt;");
    EXPECT_EQ(Escaped("&mdash;&euro;&Eacute;&eacute;"), "&#8212;&#8364;&#201;&#233;");
    EXPECT_EQ(Escaped("&NotEqualTilde; &fjlig;"), "&#8770;&#824; &#102;&#106;");
    EXPECT_EQ(Escaped("&CounterClockwiseContourIntegral;"), "&#8755;");
}

// Without its ';' a legacy name is read where a browser reads it: in text
// always, the longest name that begins the letters; in an attribute value
// only when no '=', letter or digit follows.
TEST(TextEscape, LegacyReferencesWithoutSemicolon)
{
    EXPECT_EQ(Escaped("&copy 2024 &nbsp"), "&#169; 2024 &nbsp;");
    EXPECT_EQ(Escaped("&notit; &ampx &frac12x"), "&#172;it; &amp;x &#189;x");
    EXPECT_EQ(Escaped("&euro 5 &lt3"), "&amp;euro 5 &lt;3");
    EXPECT_EQ(InAttribute("&copy &copy=1 &copyx &copy"), "&#169; &amp;copy=1 &amp;copyx &#169;");
    EXPECT_EQ(InLink("?a=1&lang=en&amp&lt=2&copy;"), "?a=1;lang=en&amp;;lt=2&#169;");
}

TEST(TextEscape, NumericReferences)
{
    EXPECT_EQ(Escaped("&#X20AC; &#169; &#x10FFFF; &#9;&#10;&#13;"),
              "&#x20ac; &#169; &#x10ffff; &#9;&#10;&#13;");
    EXPECT_EQ(Escaped("&#0;&#1;&#x1F;&#xD800;&#xDFFF;&#xFFFE;&#x110000;&#99999999999999;"),
              "&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;");
    // A reference to '$' becomes the '$' itself, which the deck then doubles.
    EXPECT_EQ(Escaped("&#36;5 &#x24; &dollar;"), "$5 $ $");
}

TEST(TextEscape, AttributeValuesEscapeQuotesAndAngles)
{
    EXPECT_EQ(InAttribute("A & \"B\" <c>"), "A &amp; &quot;B&quot; &lt;c&gt;");
    EXPECT_EQ(InLink("page?a=1&b=2&amp;c=3"), "page?a=1;b=2&amp;c=3");
}

// '$' is doubled unless it begins "$(name)" or "$(name:conversion)".
TEST(TextEscape, DollarSigns)
{
    EXPECT_EQ(InAttribute("$5 $$ $"), "$$5 $$$$ $$");
    EXPECT_EQ(InAttribute("$(user) $(_a1:e) $(x:escape) $(x:unesc) $(x:noesc) $(x:u) $(x:n)"),
              NoChange);
    EXPECT_EQ(InAttribute("$(1a) $(a b) $(a:x) $(a:E) $(a $a ($a)"),
              "$$(1a) $$(a b) $$(a:x) $$(a:E) $$(a $$a ($$a)");
    EXPECT_EQ(Escaped("$5"), NoChange);
}

// The walk escapes text once and the end adds the dollars, and titles are
// escaped by the rules before the deck is complete: a second pass through
// the rules must change only '$'.
TEST(TextEscape, EscapingAgainChangesOnlyDollars)
{
    const char* page = "&copy &notit; &bogus; a & b \"<$5>\" &#0; &Eacute; &NBSP; $(x)";
    const std::string once = InAttribute(page);
    const CEscapeRules withoutDollars = {"&amp;", true, true, false};
    EXPECT_EQ(Escaped(once.c_str(), withoutDollars), NoChange);
    const std::string text = Escaped(page);
    EXPECT_EQ(Escaped(text.c_str()), NoChange);
}

}  // namespace
