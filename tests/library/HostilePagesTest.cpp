// Pages built to hurt: each must convert to a deck, on a small stack, in time
// that grows with the page and not faster.
#include <gtest/gtest.h>

#include <string>

#include "support/TreeDump.h"

namespace {

const size_t Million = 1000000;

std::string Repeat(const std::string& piece, size_t count)
{
    std::string page;
    page.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i) page += piece;
    return page;
}

// Converts on a 256 KiB stack and checks the deck is complete.
void ExpectDeck(const std::string& page)
{
    std::string deck;
    RunOnSmallStack([&] { deck = ConvertPage(page); });
    ASSERT_GE(deck.size(), 9u);
    EXPECT_EQ(deck.compare(0, 5, "<?xml"), 0);
    EXPECT_EQ(deck.compare(deck.size() - 8, 8, "</wml>\r\n"), 0);
}

TEST(HostilePages, MillionNestedUnclosedTags)
{
    for (const char* tag : {"<p>", "<br>", "<li>", "<font>"}) {
        SCOPED_TRACE(tag);
        ExpectDeck(Repeat(std::string(tag) + "x", Million));
    }
}

TEST(HostilePages, MillionNestedTagsThenMillionStrayEndTags)
{
    for (const char* tag : {"<p>", "<li>"}) {
        SCOPED_TRACE(tag);
        ExpectDeck(Repeat(std::string(tag) + "x", Million) + Repeat("</x>", Million));
    }
}

// Elements of different kinds nested into each other, each unwrapped by the
// filter of the one around it.
TEST(HostilePages, AlternatingNestedElementsUnwrapIntoEachOther)
{
    for (const char* pair : {"<select><option>o", "<center><b>x", "<p><i>z", "<div><span>q"}) {
        SCOPED_TRACE(pair);
        ExpectDeck(Repeat(pair, 200000));
    }
}

TEST(HostilePages, MillionSiblings)
{
    ExpectDeck(Repeat("<b>x</b> ", Million));
}

TEST(HostilePages, FiftyMegabytePage)
{
    std::string page = Repeat("<p>Some text &amp; a <a href=\"x?a=1&b=2\">link</a></p>\n",
                              50 * Million / 52);
    ExpectDeck(page);
}

TEST(HostilePages, HugeTags)
{
    ExpectDeck("<p " + Repeat("a=1 ", 100000) + ">x</p>");
    ExpectDeck("<" + std::string(Million, 'n') + ">x</" + std::string(Million, 'n') + ">");
}

TEST(HostilePages, UnterminatedConstructsAtTheEnd)
{
    for (const char* end : {"<p", "<a href=\"x", "<!-- never closed", "<% script \" %",
                            "<% /* open", "<% ' line", "<p title=\"a\nb>", "&", "&#"}) {
        SCOPED_TRACE(end);
        ExpectDeck(std::string("<html><body>text ") + end);
    }
}

TEST(HostilePages, NulAndHighBytesEverywhere)
{
    std::string page;
    for (int i = 0; i < 20000; ++i) {
        page += static_cast<char>(i % 256);
        if (i % 7 == 0) page += "<p a=\"\x80\">";
        if (i % 11 == 0) page += "</p\xff>";
    }
    ExpectDeck(page);
}

}  // namespace
