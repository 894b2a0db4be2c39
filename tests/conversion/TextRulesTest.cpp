#include <gtest/gtest.h>

#include <string>

#include "support/TreeDump.h"

namespace {

// The content line of a deck whose card holds one paragraph.
std::string ParagraphOf(const std::string& body)
{
    const std::string deck = ConvertPage("<html><body>" + body + "</body></html>");
    const std::string open = "<p>\r\n";
    const size_t start = deck.find(open);
    const size_t end = deck.rfind("\r\n</p>");
    if (start == std::string::npos || end == std::string::npos || end < start) return deck;
    return deck.substr(start + open.size(), end - start - open.size());
}

TEST(TextRules, FontSizeReadsTheLeadingInteger)
{
    EXPECT_EQ(ParagraphOf("<font size=\" 5\" color=\"red\">a</font>"), "<big>a</big>");
    EXPECT_EQ(ParagraphOf("<font size=\"7\">a</font>"), "<big>a</big>");
    EXPECT_EQ(ParagraphOf("<font size=\"1x\">a</font>"), "<small>a</small>");
    EXPECT_EQ(ParagraphOf("<font size=\"4\">a</font>"), "a");
    EXPECT_EQ(ParagraphOf("<font size=\"0\">a</font>"), "a");
    EXPECT_EQ(ParagraphOf("<font size=\"big\">a</font>"), "a");
    // An empty font tag is dropped, whatever its size.
    EXPECT_EQ(ParagraphOf("x<font size=\"6\"/>y"), "xy");
}

TEST(TextRules, HeadingsBreakOnlyAfterTextInTheSameBlock)
{
    // The paragraph's own line ends before the heading.
    EXPECT_EQ(ParagraphOf("<p>a</p><h3>T</h3>"), "a<br/><b>T</b><br/>");
    EXPECT_EQ(ParagraphOf("a<br/><h3>T</h3>"), "a<br/><b>T</b><br/>");
    EXPECT_EQ(ParagraphOf("a<h6>T</h6>"), "a<br/><b>T</b><br/>");
    // Not headings: h7, h0 and names of other lengths are unwrapped.
    EXPECT_EQ(ParagraphOf("<h7>a</h7><h0>b</h0><h12>c</h12>"), "abc");
}

TEST(TextRules, TextareaValueIsEscapedForItsAttribute)
{
    EXPECT_EQ(ParagraphOf("<textarea name=\"T\">Tom & \"Jerry\" &amp; x&lt;y</textarea>"),
              "<input name=\"t\" type=\"text\" value=\"Tom &amp; &quot;Jerry&quot; &amp; "
              "x&lt;y\"/>");
    // A comment before the text is passed over; an empty textarea has no value.
    EXPECT_EQ(ParagraphOf("<textarea name=\"a\"><!-- c -->v</textarea>"),
              "<input name=\"a\" type=\"text\" value=\"v\"/>");
    EXPECT_EQ(ParagraphOf("<textarea name=\"a\" cols=\"5\"></textarea>"),
              "<input name=\"a\" type=\"text\"/>");
}

TEST(TextRules, TextareaInALaterFormStoresUnderThePostedVariable)
{
    const std::string deck = ConvertPage(
        "<form action=\"a\"></form><form action=\"b\"><textarea name=\"Msg\">hi</textarea>"
        "<input type=\"submit\"></form>");
    EXPECT_NE(deck.find("<input name=\"f1_msg\" type=\"text\" value=\"hi\"/>"),
              std::string::npos);
    EXPECT_NE(deck.find("<postfield name=\"msg\" value=\"$(f1_msg)\"/>"), std::string::npos);
}

TEST(TextRules, RemovedElementsTakeTheirContentAlong)
{
    EXPECT_EQ(ParagraphOf("a<nowap>b<b>c</b></nowap>d<script>e</script>f"), "adf");
    EXPECT_EQ(ParagraphOf("<span>a<i>b</i></span><ul><li>c</li></ul>"), "a<i>b</i><br/>* c");
}

}  // namespace
