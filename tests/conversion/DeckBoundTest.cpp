#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "devices/ConfigFixture.h"

namespace {

const auto npos = std::string::npos;

std::string Notice(const std::string& xmlVersion)
{
    return xmlVersion +
           "\r\n<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
           "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
           "<wml>\r\n<card id=\"card1\" title=\"\">\r\n<p>\r\n"
           "This page is too large for this handset.\r\n</p>\r\n</card>\r\n</wml>\r\n";
}

using DeckBound = ConfigTest;

// Digits only; the bound stays between 1 KiB and the largest 32-bit count.
TEST_F(DeckBound, KeywordTakesDigitsWithinItsLimits)
{
    Load("DEVICE_GROUP=A\nMAX_DECK_BYTES=5000\n"
         "DEVICE_GROUP=B\nMAX_DECK_BYTES=10\n"
         "DEVICE_GROUP=C\nMAX_DECK_BYTES=99999999999999999999\n"
         "DEVICE_GROUP=D\nMAX_DECK_BYTES=5000\nMAX_DECK_BYTES=12k\nMAX_DECK_BYTES=-1\n"
         "DEVICE_GROUP=E\nTABLES=true\n");
    EXPECT_EQ(Group("A")->Settings->MaxDeckBytes, 5000);
    EXPECT_EQ(Group("B")->Settings->MaxDeckBytes, 1024);
    EXPECT_EQ(Group("C")->Settings->MaxDeckBytes, INT_MAX);
    EXPECT_EQ(Group("D")->Settings->MaxDeckBytes, 5000);
    EXPECT_EQ(Group("E")->Settings->MaxDeckBytes, 4 << 20);
}

// A deck of exactly the bound is kept; one byte more gives the notice, with
// the profile's own declarations.
TEST_F(DeckBound, LongerDeckIsReplacedByTheNotice)
{
    Load("DEVICE_GROUP=G\nMAX_DECK_BYTES=2000\n"
         "XMLVERSION=<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    const size_t frame = ConvertPage("a").size() - 1;
    const std::string fits(2000 - frame, 'a');
    EXPECT_EQ(ConvertPage(fits).size(), 2000u);
    EXPECT_EQ(ConvertPage(fits + "a"), Notice("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
}

// N text fields and N buttons make N * N postfields: the conversion stops
// once they pass the bound instead of building them all.
TEST_F(DeckBound, SquareOfPostfieldsStopsAtTheBound)
{
    Load("DEVICE_GROUP=G\nMAX_DECK_BYTES=100000\n");
    std::string page = "<form action=\"/f\">";
    for (int i = 0; i < 2000; ++i) page += "<input name=\"t" + std::to_string(i) + "\">";
    for (int i = 0; i < 2000; ++i) page += "<input type=\"submit\">";
    EXPECT_EQ(ConvertPage(page + "</form>"), Notice("<?xml version=\"1.0\"?>"));
}

// Postfields that a filter would delete with their task are not built, so
// they do not count toward the bound: buttons inside go tasks leave the
// page's deck, not the notice.
TEST_F(DeckBound, PostfieldsOfTasksThatGoDoNotCount)
{
    Load("DEVICE_GROUP=G\nMAX_DECK_BYTES=100000\n");
    std::string page = "<form action=\"/f\">";
    for (int i = 0; i < 2000; ++i) page += "<input name=\"t" + std::to_string(i) + "\">";
    for (int i = 0; i < 2000; ++i) page += "<go href=\"/g\"><input type=\"submit\"></go>";
    const std::string deck = ConvertPage(page + "</form>");
    EXPECT_NE(deck, Notice("<?xml version=\"1.0\"?>"));
    EXPECT_NE(deck.find("<input name=\"t1999\" type=\"text\"/>"), npos);
    EXPECT_EQ(deck.find("<postfield"), npos);
}

}  // namespace
