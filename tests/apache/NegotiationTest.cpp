// Which requests the Apache module converts for, and the charset and tag it
// gives a deck.
#include <gtest/gtest.h>

#include <cstring>

#include "DeckConversion.h"
#include "Negotiation.h"

using namespace quorrel_apache;

TEST(AcceptTest, WmlWithoutHtmlAsksForWmlWhateverWildcardsStandBeside)
{
    EXPECT_TRUE(AcceptAsksForWml("*/*, text/vnd.wap.wml, text/vnd.wap.wmlscript"));
    EXPECT_TRUE(AcceptAsksForWml("TEXT/VND.WAP.WML;q=0.5"));
    EXPECT_TRUE(AcceptAsksForWml("text/*, text/vnd.wap.wml"));
}

TEST(AcceptTest, HtmlBesideWmlOrNoWmlAtAllIsABrowser)
{
    EXPECT_FALSE(AcceptAsksForWml("text/html, text/vnd.wap.wml"));
    EXPECT_FALSE(AcceptAsksForWml("text/vnd.wap.wml,text/html;level=1"));
    EXPECT_FALSE(AcceptAsksForWml("*/*"));
    EXPECT_FALSE(AcceptAsksForWml("text/vnd.wap.wmlscript"));
    EXPECT_FALSE(AcceptAsksForWml(""));
    EXPECT_FALSE(AcceptAsksForWml(nullptr));
}

TEST(AcceptTest, AZeroQualityRefusesInsteadOfNaming)
{
    EXPECT_FALSE(AcceptAsksForWml("text/vnd.wap.wml;q=0"));
    EXPECT_TRUE(AcceptAsksForWml("text/vnd.wap.wml, text/html; q=0.0"));
    EXPECT_FALSE(AcceptAsksForWml("text/vnd.wap.wml, text/html; q=0.01"));
}

TEST(ContentTypeTest, HtmlAndXhtmlWithParametersArePages)
{
    EXPECT_TRUE(IsHtmlType("text/html"));
    EXPECT_TRUE(IsHtmlType("Text/HTML; charset=utf-8"));
    EXPECT_TRUE(IsHtmlType("application/xhtml+xml"));
    EXPECT_FALSE(IsHtmlType("text/plain"));
    EXPECT_FALSE(IsHtmlType("text/htmlx"));
    EXPECT_FALSE(IsHtmlType(nullptr));
}

TEST(ContentTypeTest, CharsetIsTakenOnlyWhenSafeForAHeader)
{
    EXPECT_EQ(CharsetOf("text/html; charset=ISO-8859-1"), "ISO-8859-1");
    EXPECT_EQ(CharsetOf("text/html;Charset=\"utf-8\""), "utf-8");
    EXPECT_EQ(CharsetOf("text/html"), "");
    EXPECT_EQ(CharsetOf("text/html; charset=a\r\nSet-Cookie: x"), "");
}

namespace {

Deck DeckOf(const char* text)
{
    Deck deck;
    deck.Length = std::strlen(text);
    deck.Text.reset(static_cast<char*>(std::malloc(deck.Length + 1)));
    std::memcpy(deck.Text.get(), text, deck.Length + 1);
    return deck;
}

}  // namespace

TEST(DeckTest, DeclaredEncodingComesFirstThenThePageCharsetThenUtf8)
{
    EXPECT_EQ(DeckCharset(DeckOf("<?xml version=\"1.0\" encoding='ISO-8859-1'?>\r\n<wml/>"), "koi8-r"),
              "ISO-8859-1");
    EXPECT_EQ(DeckCharset(DeckOf("<?xml version=\"1.0\"?>\r\n<wml encoding=\"x\"/>"), "koi8-r"), "koi8-r");
    EXPECT_EQ(DeckCharset(DeckOf("<?xml version=\"1.0\"?>\r\n<wml/>"), ""), "utf-8");
}

TEST(DeckTest, ConvertsThroughTheLibraryAndTagsFollowTheBytes)
{
    std::string page = "<html><body><p>" + std::string(100000, 'x') + "</p></body></html>";
    Deck deck;
    ASSERT_TRUE(ConvertPage(page, "Nokia7110/1.0 (04.94)", deck));
    const std::string text(deck.Text.get(), deck.Length);
    EXPECT_EQ(text.find("<?xml"), 0u);
    EXPECT_NE(text.find(std::string(100000, 'x')), std::string::npos);
    Deck same = DeckOf(text.c_str());
    Deck other = DeckOf((text + " ").c_str());
    EXPECT_EQ(DeckTag(deck), DeckTag(same));
    EXPECT_NE(DeckTag(deck), DeckTag(other));
    EXPECT_EQ(DeckTag(deck).front(), '"');
}
