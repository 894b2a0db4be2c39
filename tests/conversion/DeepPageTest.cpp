#include <gtest/gtest.h>

#include <string>

#include <vector>

#include "devices/ConfigFixture.h"
#include "library/Exports.h"
#include "support/TreeDump.h"

// Pages whose length or depth would exhaust a small stack if any pass
// recursed along the tree: each converts on a 256 KiB stack.
namespace {

const int Count = 1000000;

std::string Repeated(const std::string& part, int count)
{
    std::string text;
    text.reserve(part.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) text += part;
    return text;
}

// The deck of a page without html element: one default card, one paragraph.
std::string DefaultDeck(const std::string& paragraph)
{
    return "<?xml version=\"1.0\"?>\r\n"
           "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
           "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
           "<wml>\r\n<card id=\"card1\" title=\"\">\r\n<p>\r\n" +
           paragraph + "\r\n</p>\r\n</card>\r\n</wml>\r\n";
}

// The measured length allows four bytes per tag beyond its text, so a page
// made of short tags needs a buffer of several times its size.
std::string ConvertOnSmallStack(const std::string& page)
{
    std::vector<char> output(page.size() * 8 + 65536);
    int capacity = static_cast<int>(output.size());
    RunOnSmallStack([&] {
        ::ConvertPage(nullptr, page.data(), static_cast<int>(page.size()), output.data(),
                      capacity);
    });
    return std::string(output.data(), static_cast<size_t>(capacity));
}

// Their decks are longer than the default bound, which these tests lift.
class DeepPage : public ConfigTest {
protected:
    void SetUp() override { Load("DEVICE_GROUP=LARGE\nMAX_DECK_BYTES=2147483647\n"); }
};

TEST_F(DeepPage, MillionSiblings)
{
    const std::string items = Repeated("<b>x</b>", Count);
    EXPECT_TRUE(ConvertOnSmallStack("<p>" + items + "</p>") == DefaultDeck(items));
}

TEST_F(DeepPage, MillionNestedUnclosedElements)
{
    const std::string open = Repeated("<b>", Count);
    EXPECT_TRUE(ConvertOnSmallStack(open + "x") == DefaultDeck(open + "x" + Repeated("</b>", Count)));
    EXPECT_TRUE(ConvertOnSmallStack(Repeated("<div>", Count) + "x") == DefaultDeck("x"));
}

// Each blank looks back over the images and emptied blanks before it; a run
// of them must be crossed once, not once per blank.
TEST_F(DeepPage, LongRunOfImagesAndBlanks)
{
    const int images = 200000;
    EXPECT_TRUE(ConvertOnSmallStack("<p>" + Repeated(" <img src=a>", images) + "</p>") ==
                DefaultDeck(Repeated("<img src=\"a\" alt=\"a\"/>", images)));
}

}  // namespace
