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

// Each link to an element's id leads to the card of the named anchor that
// held the element: with hundreds of anchors, with an id longer than any
// that came before, and with an id given twice, where the first one wins.
TEST(NamedAnchors, LinksToElementsLeadToTheirCardsOnALargePage)
{
    const std::string longId(300, 'L');
    std::string page = "<html><body><p><a href=\"#i0\">A</a> <a href=\"#i150\">B</a> "
                       "<a href=\"#i299\">C</a> <a href=\"#" + longId + "\">D</a> "
                       "<a href=\"#twice\">E</a></p>";
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i);
        page += "<a name=\"n" + n + "\">x <b id=\"i" + n + "\">y</b></a>";
        if (i == 20) page += "<a name=\"first\"><b id=\"twice\">t</b></a>";
    }
    page += "<a name=\"last\">z <b id=\"" + longId + "\">w</b></a>";
    page += "<a name=\"second\"><b id=\"twice\">t</b></a></body></html>";
    const std::string deck = ConvertPage(page);
    EXPECT_NE(deck.find("<a href=\"#n0\">A</a> <a href=\"#n150\">B</a> <a href=\"#n299\">C</a> "
                        "<a href=\"#last\">D</a> <a href=\"#first\">E</a>"),
              npos)
        << deck.substr(0, 600);
}

}  // namespace
