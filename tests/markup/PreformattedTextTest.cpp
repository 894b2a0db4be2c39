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

// An empty line of a poem is a line the page asked for: two line ends give
// two breaks. Blanks inside a line collapse as in any text run.
TEST(PreformattedText, EachLineEndBecomesABreak)
{
    EXPECT_EQ(Parsed("<pre>Roses  are\tred,\n\n  violets...\n</pre>"),
              "<pre>\n  Roses are red,\n  <br/>\n  <br/>\n   violets...\n  <br/>\n</pre>\n");
    EXPECT_EQ(Parsed("<PRE>a\r\nb\rc\nd\n\re</Pre>"),
              "<PRE>\n  a\n  <br/>\n  b\n  <br/>\n  c\n  <br/>\n  d\n  <br/>\n  <br/>\n  e\n</Pre>\n");
}

// Only a line end that directly follows the start tag is dropped; CR LF
// counts as one there too.
TEST(PreformattedText, ALineEndRightAfterTheStartTagIsDropped)
{
    EXPECT_EQ(Parsed("<pre>\r\nx</pre>"), "<pre>\n  x\n</pre>\n");
    EXPECT_EQ(Parsed("<pre>\n\nx</pre>"), "<pre>\n  <br/>\n  x\n</pre>\n");
    EXPECT_EQ(Parsed("<pre>\r\r\nx</pre>"), "<pre>\n  <br/>\n  x\n</pre>\n");
    EXPECT_EQ(Parsed("<pre><b>\nx</b></pre>"),
              "<pre>\n  <b>\n    <br/>\n    x\n  </b>\n</pre>\n");
    EXPECT_EQ(Parsed("<pre>x</pre><pre>\ny</pre>"),
              "<pre>\n  x\n</pre>\n<pre>\n  y\n</pre>\n");
}

// The pre counts while its start tag is open, whatever tags lie between.
TEST(PreformattedText, InlineTagsInsideKeepTheLines)
{
    EXPECT_EQ(Parsed("<pre>a<b>x\ny</b>\nz</pre>"),
              "<pre>\n  a\n  <b>\n    x\n    <br/>\n    y\n  </b>\n  <br/>\n  z\n</pre>\n");
    EXPECT_EQ(Parsed("<pre><pre>a</pre>b\nc</pre>d\ne"),
              "<pre>\n  <pre>\n    a\n  </pre>\n  b\n  <br/>\n  c\n</pre>\nd e\n");
}

// An unclosed pre keeps its lines until an end tag closes an element that
// holds it.
TEST(PreformattedText, AnUnclosedPreEndsWithItsParent)
{
    EXPECT_EQ(Parsed("<pre>a\nb<p>c\nd"),
              "<pre>\n  a\n  <br/>\n  b\n  <p>\n    c\n    <br/>\n    d\n");
    EXPECT_EQ(Parsed("<table><tr><td><pre>a\nb</td><td>c\nd</td></tr></table>"),
              "<table>\n  <tr>\n    <td>\n      <pre>\n        a\n        <br/>\n        b\n"
              "    </td>\n    <td>\n      c d\n    </td>\n  </tr>\n</table>\n");
    EXPECT_EQ(Parsed("<td><pre>x\ny</pre></td>z\nw"),
              "<td>\n  <pre>\n    x\n    <br/>\n    y\n  </pre>\n</td>\nz w\n");
}

// A comment and a tag keep their own line ends; text outside any pre and an
// empty pre collapse as before.
TEST(PreformattedText, OnlyTextRunsInsideAnOpenPreAreSplit)
{
    EXPECT_EQ(Parsed("<pre><!-- a\nb --><a\nhref=x>y</a></pre>"),
              "<pre>\n  <!-- a\nb -->\n  <a\nhref=x>\n    y\n  </a>\n</pre>\n");
    EXPECT_EQ(Parsed("<pre/>a\nb"), "<pre/>\na b\n");
    EXPECT_EQ(Parsed("a\n</pre>b\nc"), "a \n</pre>\nb c\n");
}

// A text placed after the parse, where the tree builder left off, is still
// inside the pre.
TEST(PreformattedText, LaterTokensGoOnInsideThePre)
{
    CXmlNode root;
    root.Parse("<pre>", 5);
    root.AddTokenText("\na\nb", 4);
    EXPECT_EQ(CheckLinks(&root), "");
    EXPECT_EQ(DumpTree(&root), "<pre>\n  a\n  <br/>\n  b\n");
}

}  // namespace
