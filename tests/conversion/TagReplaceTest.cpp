#include <string>
#include <vector>

#include "devices/ConfigFixture.h"

namespace {

// The default device carries the replacement list under test.
class TagReplaceTest : public ConfigTest {
protected:
    std::string Replaced(const std::string& list, const std::string& page)
    {
        Load("DEVICE=DEFAULT\nTAG_REPLACE=" + list + "\n");
        return ParsedFor(page, nullptr);
    }
};

TEST_F(TagReplaceTest, FontAndCenterLists)
{
    const std::string list = "font=,center=<br/>|<br/>";
    EXPECT_EQ(Replaced(list, "<FONT SIZE=2>x</FONT>"), "x\n");
    EXPECT_EQ(Replaced(list, "<center>a</center>"), "<br/>\na\n<br/>\n");
    EXPECT_EQ(Replaced("CENTER=<br/>", "<center>a</center>"), "<center>\n  a\n</center>\n");
    EXPECT_EQ(Replaced("center=<br/>", "<center>a</center>"), "<br/>\na\n");
    EXPECT_EQ(Replaced("x=a|b|c,x=no", "<x>1</x>"), "a\n1\nb|c\n");
}

TEST_F(TagReplaceTest, ParagraphBreaksAreNotDoubled)
{
    const std::string list = "p=<br/>|<br/>";
    EXPECT_EQ(Replaced(list, "<p>a</p>  <p>b</p>"), "<br/>\na\n<br/>\n \nb\n<br/>\n");
    EXPECT_EQ(Replaced(list, "  <p>a"), " \n<br/>\na\n");
    EXPECT_EQ(Replaced("p=<BR>", "<br/><p>a"), "<br/>\n<BR>\n  a\n");
    EXPECT_EQ(Replaced("p=<br>", "<BR><p>a"), "<BR>\n  a\n");
}

TEST_F(TagReplaceTest, ReplacementTextsAreReplacedAgain)
{
    EXPECT_EQ(Replaced("h1=<b>|</b><br/>,b=<strong>|</strong>", "<h1>T</h1>"),
              "<strong>\n  T\n</strong>\n<br/>\n");
    EXPECT_EQ(Replaced("b=<b>|</b>", "<b>x</b>y"), "<b>\n  x\n</b>\ny\n");
    EXPECT_EQ(Replaced("a=<q>,q=<a>", "<a>z"), "<a>\n  z\n");
}

// A replaced pre is no pre, so its text collapses; the breaks that keep the
// lines of a pre are replaced as the page's own breaks are.
TEST_F(TagReplaceTest, PreformattedText)
{
    EXPECT_EQ(Replaced("pre=<p>|</p>", "<pre>a\nb</pre>"), "<p>\n  a b\n</p>\n");
    EXPECT_EQ(Replaced("br=<hr/>", "<pre>a\nb</pre>"), "<pre>\n  a\n  <hr/>\n  b\n</pre>\n");
    EXPECT_EQ(Replaced("br=<hr/>", "<pre>a<br>b</pre>"), "<pre>\n  a\n  <hr/>\n  b\n</pre>\n");
}

// A cycle that branches ends too, with a bounded number of tags.
TEST_F(TagReplaceTest, BranchingCycleEnds)
{
    Load("DEVICE=DEFAULT\nTAG_REPLACE=i=<i><i><i>|</i>\n");
    CXmlNode root;
    const std::string page = "<i>x</i>";
    root.Parse(page.data(), static_cast<int>(page.size()));
    EXPECT_EQ(CheckLinks(&root), "");
    int nodes = 0;
    bool hasText = false;
    std::vector<const CXmlNode*> due{root.GetFirstChild()};
    while (!due.empty()) {
        const CXmlNode* node = due.back();
        due.pop_back();
        if (node == nullptr) continue;
        ++nodes;
        hasText = hasText || !node->IsTag();
        due.push_back(node->GetNextSibling());
        due.push_back(node->GetFirstChild());
    }
    EXPECT_LT(nodes, 2000);
    EXPECT_TRUE(hasText);
}

// The bytes of one tag's parsed subtree that are the given letter.
size_t CountLetters(const std::string& tree, char letter)
{
    size_t count = 0;
    for (char c : tree) count += c == letter;
    return count;
}

// An entry that multiplies its tag adds at most four times the page's length
// of replacement text to one conversion, and at least 4 KiB; past that the
// tags stay as they stand.
TEST_F(TagReplaceTest, ReplacementAddsABoundedAmountToOneConversion)
{
    const std::string filler(100, 'z');
    Load("DEVICE=DEFAULT\nTAG_REPLACE=i=<i>" + filler + "<i>|\n");
    const std::string small = ParsedFor("<i><i><i><i>", nullptr);
    EXPECT_LE(CountLetters(small, 'z'), 4096u);
    EXPECT_GT(CountLetters(small, 'z'), 3500u);
    EXPECT_NE(small.find("<i>"), std::string::npos);

    // Through the conversion road the page's length counts: 40,000 page
    // bytes allow 160,000 bytes of replacement.
    std::string page;
    while (page.size() < 40000) page += "<i>";
    const std::string deck = ConvertPage(page);
    EXPECT_LE(CountLetters(deck, 'z'), 160000u);
    EXPECT_GT(CountLetters(deck, 'z'), 150000u);
}

// Configurations found by fuzzing whose center entry branches into itself:
// each page tag's expansion stays small enough to convert at once.
TEST_F(TagReplaceTest, BranchingCyclesFromFuzzingConvertInBoundedSize)
{
    const std::string page = "<html><body><p>a<br><font size=2>c</font><center>d</center></p></body></html>";
    for (const char* file : {"branching-center-replacement.cfg", "branching-center-replacement-2.cfg"}) {
        SCOPED_TRACE(file);
        Load(ReadFile(std::string(QUORREL_TEST_DATA) + "/fuzz/" + file));
        const std::string deck = ConvertPage(page);
        EXPECT_EQ(deck.compare(0, 5, "<?xml"), 0);
        EXPECT_LT(deck.size(), 200000u);
    }
}

}  // namespace
