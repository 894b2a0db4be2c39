#include <gtest/gtest.h>

#include <string>

#include "support/TreeDump.h"

namespace {

const auto npos = std::string::npos;

// The content of the deck's first card, its p tags and line ends left out.
std::string CardText(const std::string& body)
{
    const std::string deck = ConvertPage("<html><body>" + body + "</body></html>");
    const size_t start = deck.find("<p>\r\n");
    const size_t end = deck.find("\r\n</p>", start);
    if (start == npos || end == npos) return deck;
    std::string text = deck.substr(start + 5, end - start - 5);
    for (size_t at = text.find("\r\n"); at != npos; at = text.find("\r\n")) text.erase(at, 2);
    return text;
}

TEST(LineBreaks, EveryBlockHasALineOfItsOwn)
{
    EXPECT_EQ(CardText("<p>One</p><p>Two</p>"), "One<br/>Two");
    EXPECT_EQ(CardText("<div>a<div>b</div>c</div>d"), "a<br/>b<br/>c<br/>d");
    EXPECT_EQ(CardText("x<blockquote>y</blockquote>z"), "x<br/>y<br/>z");
    EXPECT_EQ(CardText("<dl><dt>Term</dt><dd>Meaning</dd></dl>"), "Term<br/>Meaning");
    // Inline elements never break a line; a button's label stands apart.
    EXPECT_EQ(CardText("a<span>b</span><b>c</b><i>d</i>"), "ab<b>c</b><i>d</i>");
    EXPECT_EQ(CardText("a<button>Go</button>b"), "a Go b");
}

// Structure alone writes no empty line: no break at the card's start or end,
// none twice in a row, none beside a break of the page or of a heading.
TEST(LineBreaks, StructureAloneMakesNoEmptyLine)
{
    EXPECT_EQ(CardText("<div><div><p>a</p></div></div><div><p>b</p></div>"), "a<br/>b");
    EXPECT_EQ(CardText("x<br><p>y</p>"), "x<br/>y");
    EXPECT_EQ(CardText("<p>x</p><br><br>y"), "x<br/><br/>y");
    EXPECT_EQ(CardText("<p>a</p><h2>T</h2><p>b</p>"), "a<br/><b>T</b><br/>b");
    EXPECT_EQ(CardText("a<p></p><div> </div>b"), "a<br/>b");
    EXPECT_EQ(CardText("<p></p>a<div></div>"), "a");
}

TEST(LineBreaks, ListItemsAreMarked)
{
    EXPECT_EQ(CardText("<ul><li>Alpha</li><li>Beta</li></ul>"), "* Alpha<br/>* Beta");
    EXPECT_EQ(CardText("<ol start=\"3\"><li>a<li>b</ol>"), "3. a<br/>4. b");
    EXPECT_EQ(CardText("<ol><li>a<li value=\"7\">b<li>c</ol>"), "1. a<br/>7. b<br/>8. c");
    EXPECT_EQ(CardText("<ol reversed><li>a<li>b<li>c</ol>"), "3. a<br/>2. b<br/>1. c");
    EXPECT_EQ(CardText("<ol reversed start=\"10\"><li>a<li>b</ol>"), "10. a<br/>9. b");
    // Nested lists count on their own; an item outside any list is marked too.
    EXPECT_EQ(CardText("<ol><li>a<ol><li>x</li><li>y</li></ol></li><li>b</li></ol>"),
              "1. a<br/>1. x<br/>2. y<br/>2. b");
    EXPECT_EQ(CardText("<ul><li>a<ol><li>x</ol></ul><li>z"), "* a<br/>1. x<br/>* z");
    // An item's heading shares the item's line.
    EXPECT_EQ(CardText("<ol><li>a</li><li><h3>T</h3>b</li></ol>"), "1. a<br/>2. <b>T</b><br/>b");
    // An item's first block shares the item's line; an empty item has no mark.
    EXPECT_EQ(CardText("text<ul><li><p>a</p><p>b</p></li><li></li></ul>"),
              "text<br/>* a<br/>b");
}

TEST(LineBreaks, LinesInTablesAndControls)
{
    // A cell's lines are its own.
    EXPECT_EQ(CardText("<table><tr><td><p>a</p><p>b</p></td><td>c</td></tr></table>"),
              "<table columns=\"2\"><tr><td>a<br/>b</td><td>c</td></tr></table>");
    // A nested table's rows are lines; its cells stand apart by a blank.
    EXPECT_EQ(CardText("<table><tr><td>Top<table><tr><td>a</td><th>b</th></tr>"
                       "<tr><td>c</td></tr></table></td></tr></table>"),
              "<table columns=\"1\"><tr><td>Top<br/>a b<br/>c</td></tr></table>");
    // An option's text holds no break: its blocks stay apart by a blank.
    const std::string select =
        CardText("<form><select name=\"s\"><option><div>a</div><div>b</div></select></form>");
    EXPECT_NE(select.find("<option>a b</option>"), npos) << select;
    // A control's label in a block of its own keeps its line.
    EXPECT_EQ(CardText("a<label><p>Name</p></label><input name=\"n\">"),
              "a<br/>Name<br/><input name=\"n\" type=\"text\"/>");
}

// A named anchor's content becomes a card of its own, whose lines are its own.
TEST(LineBreaks, NamedAnchorCardsKeepTheirLines)
{
    const std::string deck =
        ConvertPage("<html><body>x<a name=\"more\"><p>a</p><p>b</p></a></body></html>");
    EXPECT_NE(deck.find("<card id=\"more\""), npos) << deck;
    EXPECT_NE(deck.find("a<br/>b"), npos) << deck;
}

}  // namespace
