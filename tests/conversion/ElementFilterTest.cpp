#include <gtest/gtest.h>

#include <string>

#include "conversion/ContentModels.h"
#include "conversion/Conversion.h"
#include "conversion/WrittenTree.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

class ElementFilter : public ::testing::Test {
protected:
    // Parses a page into Root; the pre-pass runs only when asked, so that
    // trees outside its guarantees can be built too.
    CXmlNode* Parse(const std::string& page, bool normalize = true)
    {
        Root.Parse(page.data(), static_cast<int>(page.size()));
        if (normalize) NormalizeTree(&Root);
        return Root.GetFirstChild();
    }
    std::string Tree()
    {
        EXPECT_EQ(CheckLinks(&Root), "");
        return WrittenTree(&Root);
    }
    CXmlNode Root;
};

TEST_F(ElementFilter, UnwrapsDisallowedElementsWhenTextIsAllowed)
{
    CXmlNode* p = Parse("<p>text<b>bold</b><div>in<span>ner</span></div></p>");
    EXPECT_EQ(FilterElement(p->GetNextSibling(), ModelP), p);
    // The block's content keeps marks of its line's start and end.
    EXPECT_EQ(Tree(), "<p>\n  text\n  <b>\n    bold\n  </b>\n  <!---->\n  in\n  ner\n  <!---->\n"
                      "</p>\n");
}

TEST_F(ElementFilter, DeletesDisallowedElementsWhenTextIsNot)
{
    CXmlNode* task = Parse("<do>text<go href=a/><b><go href=b/></b></do>");
    FilterElement(task->GetNextSibling(), ModelDo);
    EXPECT_EQ(Tree(), "<do>\n  <go href=\"a\"/>\n</do>\n");
}

TEST_F(ElementFilter, CommentsAlwaysStay)
{
    CXmlNode* select = Parse("<select><!-- c -->x<option>a</option></select>");
    FilterElement(select, ModelSelect);
    EXPECT_EQ(Tree(), "<select>\n  <!-- c -->\n  <option>\n    a\n  </option>\n</select>\n");
}

TEST_F(ElementFilter, AttributesAreKeptByNameWithoutCase)
{
    CXmlNode* tag = Parse("<template ID=t OnEnterForward=a onclick=b></template class=x>", false);
    FilterElement(tag->GetNextSibling(), ModelTemplate);
    EXPECT_EQ(Tree(), "<template ID=\"t\" OnEnterForward=\"a\">\n</template>\n");
}

TEST_F(ElementFilter, EmptyElementIsFilteredItself)
{
    CXmlNode* image = Parse("<img src=a foo=b/>");
    EXPECT_EQ(FilterElement(image, ModelImg), image);
    EXPECT_EQ(Tree(), "<img src=\"a\"/>\n");
}

// Trees that the pre-pass never leaves behind are still filtered soundly.
TEST_F(ElementFilter, LoneDisallowedTagHandsOnItsChildren)
{
    CXmlNode* p = Parse("<p><div>x<b>y</b><span><div>z", false);
    FilterChildren(p, ModelP.Content);
    // The inner block shares the mark that ends the outer one's content.
    EXPECT_EQ(Tree(), "<p>\n  <!---->\n  x\n  <b>\n    y\n  </b>\n  <!---->\n  z\n  <!---->\n");
}

TEST_F(ElementFilter, LoneEndTagIsFilteredItself)
{
    CXmlNode* end = Parse("</do class=x>", false);
    ASSERT_NE(end, nullptr);
    end->AppendChild(new CXmlNode("text"));
    end->AppendChild(new CXmlNode("<go href=a/>"));
    EXPECT_EQ(FilterElement(end, ModelDo), end);
    EXPECT_EQ(Tree(), "</do>\n  <go href=\"a\"/>\n");
}

}  // namespace
