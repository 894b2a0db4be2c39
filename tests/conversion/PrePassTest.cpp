#include <gtest/gtest.h>

#include <string>

#include "conversion/Conversion.h"
#include "conversion/WrittenTree.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

// Parses a page, runs the pre-pass and returns the tree; the links of the
// whole tree are checked on the way.
std::string Normalized(const std::string& page)
{
    CXmlNode root;
    root.Parse(page.data(), static_cast<int>(page.size()));
    NormalizeTree(&root);
    EXPECT_EQ(CheckLinks(&root), "") << page;
    return WrittenTree(&root);
}

TEST(PrePass, VoidTagsBecomeEmptyAndHandOnTheirChildren)
{
    EXPECT_EQ(Normalized("<BR>"), "<br/>\n");
    EXPECT_EQ(Normalized("<IMG SRC=a.gif>"), "<img src=\"a.gif\"/>\n");
    // The former child now stands between br and </br>, so </br> is stray.
    EXPECT_EQ(Normalized("<br>text</br>"), "<br/>\ntext\n");
    EXPECT_EQ(Normalized("<br></br>"), "<br/>\n</br>\n");
    // Hoisted nodes are normalised in their turn.
    EXPECT_EQ(Normalized("<br><img src=x><p>y"), "<br/>\n<img src=\"x\"/>\n<p>\n  y\n</p>\n");
}

TEST(PrePass, OpenStartTagsGetTheirEndTags)
{
    EXPECT_EQ(Normalized("<P>text"), "<p>\n  text\n</p>\n");
    EXPECT_EQ(Normalized("<b><i>x</b>"), "<b>\n  <i>\n    x\n  </i>\n</b>\n");
    EXPECT_EQ(Normalized("<p>x<p>y"), "<p>\n  x\n  <p>\n    y\n  </p>\n</p>\n");
}

TEST(PrePass, DeclarationsGetLowerCaseNamesOnly)
{
    CXmlNode root;
    const std::string page = "<?XML version=\"1.0\"?><!DOCTYPE html>";
    root.Parse(page.data(), static_cast<int>(page.size()));
    NormalizeTree(&root);
    EXPECT_EQ(DumpTree(&root), "<?XML version=\"1.0\"?>\n<!DOCTYPE html>\n");
    EXPECT_STREQ(root.GetFirstChild()->GetName(), "?xml");
    EXPECT_STREQ(root.GetLastChild()->GetName(), "doctype");
}

TEST(PrePass, StrayEndTagsGo)
{
    EXPECT_EQ(Normalized("text</b>"), "text\n");
    EXPECT_EQ(Normalized("</p>x"), "x\n");
    EXPECT_EQ(Normalized("<p>x</b>y</p>"), "<p>\n  x\n  y\n</p>\n");
    EXPECT_EQ(Normalized("<b>x</B></b>"), "<b>\n  x\n</b>\n");
}

TEST(PrePass, EmptyTextStylesGoInOneSweep)
{
    EXPECT_EQ(Normalized("<b></b><i></i><u></u>"), "");
    EXPECT_EQ(Normalized("<b> </b><b> </b>x<b> </b>"), "x\n");
    EXPECT_EQ(Normalized("<B><I> </I></B>x"), "x\n");
    EXPECT_EQ(Normalized("a<b> </b>c"), "a\nc\n");
    EXPECT_EQ(Normalized("<font size=2> </font>"), "");
}

TEST(PrePass, ContentKeepsTextStyles)
{
    EXPECT_EQ(Normalized("<p> </p>"), "<p>\n   \n</p>\n");
    EXPECT_EQ(Normalized("<b><!-- x --></b>"), "<b>\n  <!-- x -->\n</b>\n");
    EXPECT_EQ(Normalized("<b>\xE9</b>"), "<b>\n  \xE9\n</b>\n");
    EXPECT_EQ(Normalized("<b><br></b>"), "<b>\n  <br/>\n</b>\n");
}

TEST(PrePass, WorkingStateIsReset)
{
    CXmlNode root;
    root.Parse("just text", 9);
    CWorkingVariables* state = root.GetWorkingVariables();
    ASSERT_NE(state, nullptr);
    state->CardCount = 3;
    state->SetTitle("old");
    NormalizeTree(&root);
    EXPECT_EQ(DumpTree(&root), "just text\n");
    EXPECT_EQ(state->CardCount, 0);
    EXPECT_EQ(state->Title, nullptr);
}

}  // namespace
