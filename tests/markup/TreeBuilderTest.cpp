#include <gtest/gtest.h>

#include <string>

#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

// The dump of the parsed page, after checking the links of its tree.
std::string Parsed(const std::string& page)
{
    CXmlNode root;
    root.Parse(page.data(), static_cast<int>(page.size()));
    EXPECT_EQ(CheckLinks(&root), "") << page;
    return DumpTree(&root);
}

TEST(TreeBuilder, EndTagsFollowTheirStartTags)
{
    EXPECT_EQ(Parsed("<p>a<b>b</b>c</p>"), "<p>\n  a\n  <b>\n    b\n  </b>\n  c\n</p>\n");
    EXPECT_EQ(Parsed("<B>x</b>"), "<B>\n  x\n</b>\n");
    EXPECT_EQ(Parsed("<img src=a/>x"), "<img src=a/>\nx\n");
    EXPECT_EQ(Parsed("<br><br/>x"), "<br>\n<br/>\nx\n");
    // An empty-element tag after an inner end tag closes the open parent.
    EXPECT_EQ(Parsed("<p><b>x</b><p/>y"), "<p>\n  <b>\n    x\n  </b>\n<p/>\ny\n");
}

TEST(TreeBuilder, UnclosedStartTagsKeepWhatFollows)
{
    EXPECT_EQ(Parsed("<p><b>x</p>y"), "<p>\n  <b>\n    x\n</p>\ny\n");
    EXPECT_EQ(Parsed("<b><i>x</b>"), "<b>\n  <i>\n    x\n</b>\n");
    EXPECT_EQ(Parsed("<p>x<p>y"), "<p>\n  x\n  <p>\n    y\n");
    EXPECT_EQ(Parsed("<br>x"), "<br>\n  x\n");
}

TEST(TreeBuilder, StrayEndTagsStayWhereTheyAppear)
{
    EXPECT_EQ(Parsed("<p>x</b>y"), "<p>\n  x\n  </b>\n  y\n");
    EXPECT_EQ(Parsed("</x>a"), "</x>\na\n");
    EXPECT_EQ(Parsed("<p>x</p></b>y"), "<p>\n  x\n</p>\n</b>\ny\n");
    EXPECT_EQ(Parsed("<p></b></i>x</p>"), "<p>\n  </b>\n  </i>\n  x\n</p>\n");
}

// Names the converter knows and names it does not are matched the same way,
// ASCII case ignored, by counting the open start tags of each name.
TEST(TreeBuilder, EndTagsMatchWhateverTheCaseAndName)
{
    EXPECT_EQ(Parsed("<DIV><xCard>a</XCARD></div>"),
              "<DIV>\n  <xCard>\n    a\n  </XCARD>\n</div>\n");
    EXPECT_EQ(Parsed("<xa><xa>b</xa></xa>"), "<xa>\n  <xa>\n    b\n  </xa>\n</xa>\n");
    EXPECT_EQ(Parsed("<xa>b</xb>c"), "<xa>\n  b\n  </xb>\n  c\n");
    EXPECT_EQ(Parsed("<xa>1</xa></xa>2"), "<xa>\n  1\n</xa>\n</xa>\n2\n");
    // A name ends at a '-', so these two are the same name.
    EXPECT_EQ(Parsed("<x-a>b</x-b>c"), "<x-a>\n  b\n</x-b>\nc\n");
    EXPECT_EQ(Parsed("<span><blockquote>q</span>"),
              "<span>\n  <blockquote>\n    q\n</span>\n");
    EXPECT_EQ(Parsed("<Td><TD>x</td></tD>"), "<Td>\n  <TD>\n    x\n  </td>\n</tD>\n");
}

// Hundreds of open tags of one name are counted exactly: each end tag
// closes one, and the one after the last closes nothing.
TEST(TreeBuilder, DeeplyNestedTagsOfOneNameCloseOneByOne)
{
    for (int depth : {254, 255, 256, 300}) {
        std::string page;
        for (int i = 0; i < depth; ++i) page += "<b>";
        for (int i = 0; i <= depth; ++i) page += "</b>";
        const std::string dump = Parsed(page + "x");
        std::string topLevel;
        for (size_t at = 0; at < dump.size(); at = dump.find('\n', at) + 1)
            if (dump[at] != ' ') topLevel += dump.substr(at, dump.find('\n', at) + 1 - at);
        EXPECT_EQ(topLevel, "<b>\n</b>\n</b>\nx\n") << depth;
    }
}

TEST(TreeBuilder, TextRunsAreCollapsedAndEmptyTokensDropped)
{
    EXPECT_EQ(Parsed("  Hello,\r\n\tworld  "), " Hello, world \n");
    EXPECT_EQ(Parsed("<p>\r\n  \t</p>"), "<p>\n   \n</p>\n");
    EXPECT_EQ(Parsed("<!--  a\n  b -->"), "<!--  a\n  b -->\n");
    EXPECT_EQ(Parsed("<!--->x< >y"), "x\ny\n");
    EXPECT_EQ(Parsed(std::string("<p>\0</p>", 8)), "<p>\n</p>\n");
    EXPECT_EQ(Parsed(""), "");
}

// A second text, or a single token, placed into a parsed root goes on from
// where the first text ended: its end tags close what the first left open.
TEST(TreeBuilder, LaterTextsGoOnWhereTheFirstEnded)
{
    CXmlNode root;
    root.Parse("<div><XA><b>x", 13);
    root.Parse("</b>y</xa>", 10);
    CXmlObject* token = new CXmlObject;
    token->SetText("</div>", 6);
    root.AddToken(token);
    root.Parse("z</b>", 5);
    EXPECT_EQ(CheckLinks(&root), "");
    EXPECT_EQ(DumpTree(&root),
              "<div>\n  <XA>\n    <b>\n      x\n    </b>\n    y\n  </xa>\n</div>\nz\n</b>\n");
}

// Only a document root carries the tree builder's and the working state: a
// token node given a page or a state keeps neither and leaks nothing.
TEST(TreeBuilder, ATokenNodeTakesNoPageAndNoState)
{
    CXmlNode token("<p>");
    token.Parse("<b>x</b>", 8);
    EXPECT_EQ(token.GetFirstChild(), nullptr);
    token.SetWorkingVariables(new CWorkingVariables);
    EXPECT_EQ(token.GetWorkingVariables(), nullptr);
    EXPECT_STREQ(token.GetText(), "<p>");
}

}  // namespace
