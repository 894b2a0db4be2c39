#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "markup/Xmlnode.h"

namespace {

std::unique_ptr<CXmlObject> Record(const std::string& text)
{
    auto record = std::make_unique<CXmlObject>();
    record->SetText(text.data(), static_cast<int>(text.size()));
    return record;
}

// The attribute list as [name=value] pairs, for comparing as text.
std::string Attributes(const std::string& text)
{
    auto record = Record(text);
    std::string out;
    for (int i = 0; i < record->GetAttributeCount(); ++i)
        out += std::string("[") + record->GetAttributeName(i) + "=" +
               record->GetAttributeValue(i) + "]";
    return out;
}

// Writes into a buffer of exactly GetWriteLength + 1 bytes and checks that
// the length is what Write produced.
std::string Written(const CXmlObject& record)
{
    const int length = record.GetWriteLength();
    std::unique_ptr<char[]> buffer(new char[static_cast<size_t>(length) + 1]);
    const char* end = record.Write(buffer.get());
    EXPECT_EQ(end - buffer.get(), length);
    EXPECT_EQ(strlen(buffer.get()), static_cast<size_t>(length));
    return buffer.get();
}

std::string Written(const std::string& text) { return Written(*Record(text)); }

TEST(XmlObject, NameStartsAfterBlanksAndPunctuation)
{
    EXPECT_STREQ(Record("</td>")->GetName(), "td");
    EXPECT_STREQ(Record("<!DOCTYPE wml>")->GetName(), "DOCTYPE");
    EXPECT_STREQ(Record("<?xml version=\"1.0\"?>")->GetName(), "?xml");
    EXPECT_STREQ(Record("<  P  ALIGN=center >")->GetName(), "P");
    EXPECT_STREQ(Record("<br/>")->GetName(), "br");
    EXPECT_STREQ(Record("<a-b>")->GetName(), "a");
    // Bytes 128 to 255 count as below 32: they never start a name and end it.
    EXPECT_STREQ(Record("<\xE9p>")->GetName(), "p");
    EXPECT_STREQ(Record("<b\xE9x>")->GetName(), "b");
    EXPECT_EQ(Record("hello")->GetName(), nullptr);
    EXPECT_EQ(Record("<!-- x -->")->GetName(), nullptr);
}

TEST(XmlObject, AttributeParseFollowsTheBytes)
{
    EXPECT_EQ(Attributes("<a title=\"x > y\" HREF=a/b.wml>"), "[title=x > y][HREF=a][b.wml=]");
    EXPECT_EQ(Attributes("<a b='x'>"), "[b=][x'=]");
    EXPECT_EQ(Attributes("<td width=50% height=1.5>"), "[width=50][height=1.5]");
    EXPECT_EQ(Attributes("<a a = \"x\">"), "[a=][==][\"=]");
    EXPECT_EQ(Attributes("<td nowrap>"), "[nowrap=]");
    EXPECT_EQ(Attributes("<a href=\"abc>"), "[href=ab]");
    EXPECT_EQ(Attributes("<a b=\"\" c>"), "[b=][c=]");
    EXPECT_EQ(Attributes("<b x=\xE9y z=\"\xE9\">"), "[x=][y=][z=\xE9]");
    EXPECT_EQ(Attributes("<img src=x />"), "[src=x]");
    EXPECT_EQ(Attributes("<!-- DINCL DEVICE=\"N*\" -->"), "[DEVICE=N*]");

    auto record = Record("<td nowrap>");
    EXPECT_STREQ(record->GetAttributeValue(0), "");
    EXPECT_EQ(record->GetAttributeValue(1), nullptr);
    EXPECT_EQ(record->GetAttributeName(-1), nullptr);
    EXPECT_STREQ(record->GetAttribute("NOWRAP"), "");
    EXPECT_EQ(record->GetAttribute("wrap"), nullptr);
}

// The bytes inside quotes are passed over at once; only the closing quote and
// the byte before the '>' may end a value.
TEST(XmlObject, QuotedValuesEndAtTheirQuoteOrTheTagsEnd)
{
    EXPECT_EQ(Attributes("<a href=\"http://x.example/a b?c=d&e\">"),
              "[href=http://x.example/a b?c=d&e]");
    EXPECT_EQ(Attributes("<a title=\"x\" alt=\"y\">"), "[title=x][alt=y]");
    EXPECT_EQ(Attributes("<a x=\"12345678901234567890>"), "[x=1234567890123456789]");
    EXPECT_EQ(Attributes("<a x=\"a\"\">"), "[x=a]");
    EXPECT_EQ(Attributes("<a \"b c\" d=e>"), "[\"=][d=e]");
}

TEST(XmlObject, KindPredicates)
{
    auto comment = Record("<!---->");
    EXPECT_TRUE(comment->IsComment());
    EXPECT_FALSE(comment->IsTag());
    EXPECT_EQ(comment->GetName(), nullptr);

    auto broken = Record("<!--->");
    EXPECT_FALSE(broken->IsComment());
    EXPECT_TRUE(broken->IsTag());
    EXPECT_STREQ(broken->GetName(), "");

    EXPECT_TRUE(Record("<p>")->IsStartTag());
    EXPECT_FALSE(Record("<p>")->IsEmptyOrEndTag());
    EXPECT_FALSE(Record("</p>")->IsStartTag());
    EXPECT_TRUE(Record("</p>")->IsEmptyOrEndTag());
    EXPECT_TRUE(Record("<br/>")->IsStartTag());
    EXPECT_TRUE(Record("<br/>")->IsEmptyOrEndTag());
    EXPECT_TRUE(Record("<?xml?>")->IsEmptyOrEndTag());
    EXPECT_FALSE(Record("<>")->IsTag());
    EXPECT_FALSE(Record("<p")->IsTag());
    EXPECT_FALSE(CXmlObject().IsTag());

    EXPECT_TRUE(Record("<BR>")->IsVoidTag());
    EXPECT_TRUE(Record("<!DOCTYPE wml>")->IsVoidTag());
    EXPECT_FALSE(Record("<p>")->IsVoidTag());
    EXPECT_TRUE(Record("<B>")->IsTextStyleTag());
    EXPECT_TRUE(Record("</font>")->IsTextStyleTag());
    EXPECT_FALSE(Record("<bold>")->IsTextStyleTag());
    EXPECT_FALSE(Record("b")->IsTextStyleTag());
}

TEST(XmlObject, MarkerKinds)
{
    auto start = Record("<!-- DINCL DEVICE=\"N*\" -->");
    EXPECT_EQ(start->GetMarkerKind(BuiltInMarkerWords), 1);
    EXPECT_STREQ(start->GetName(), "DINCL");
    EXPECT_FALSE(start->IsEndMarker(BuiltInMarkerWords));

    auto stop = Record("<!--   /DEXCL -->");
    EXPECT_EQ(stop->GetMarkerKind(BuiltInMarkerWords), 2);
    EXPECT_TRUE(stop->IsEndMarker(BuiltInMarkerWords));
    EXPECT_STREQ(stop->GetName(), "DEXCL");

    EXPECT_EQ(Record("<!--DEXCLUDE-->")->GetMarkerKind(BuiltInMarkerWords), 1);
    EXPECT_EQ(Record("<!-- dincl -->")->GetMarkerKind(BuiltInMarkerWords), 0);
    EXPECT_EQ(Record("<!-- x DINCL -->")->GetMarkerKind(BuiltInMarkerWords), 0);
    EXPECT_EQ(Record("<!--DINCL>")->GetMarkerKind(BuiltInMarkerWords), 0);
}

TEST(XmlObject, SetAttributeRebuildsTheFirstEntryInPlace)
{
    auto record = Record("<p align=\"right\" id=x align=center>");
    record->SetAttribute("ALIGN", "left");
    record->SetAttribute("title", "t");
    record->SetAttribute("id", nullptr);
    EXPECT_EQ(Written(*record), "<p ALIGN=\"left\" id=\"x\" align=\"center\" title=\"t\">");
}

TEST(XmlObject, KeepAndRestrictAttributes)
{
    auto record = Record("<a b=1 c=2 d=3 B=4>");
    record->KeepAttributes("b\0d\0");
    EXPECT_EQ(Written(*record), "<a b=\"1\" d=\"3\" B=\"4\">");
    record->KeepAttributes("");
    EXPECT_EQ(record->GetAttributeCount(), 0);
    EXPECT_EQ(Written(*record), "<a>");

    record = Record("<form METHOD=POST>");
    record->RestrictAttribute("method", "get\0post\0", "get", 0);
    EXPECT_STREQ(record->GetAttribute("method"), "post");
    record = Record("<form method=put>");
    record->RestrictAttribute("method", "get\0post\0", "get", 0);
    EXPECT_STREQ(record->GetAttribute("method"), "get");
    record = Record("<form>");
    record->RestrictAttribute("method", "get\0post\0", "get", 0);
    EXPECT_EQ(record->GetAttributeCount(), 0);
    record->RestrictAttribute("method", "get\0post\0", "get", 1);
    EXPECT_STREQ(record->GetAttribute("method"), "get");

    record = Record("<x a=TRUE b=False c=\"\" d=yes>");
    for (const char* name : {"a", "b", "c", "d", "e"}) record->NormalizeBoolean(name, "false");
    EXPECT_EQ(Written(*record), "<x a=\"true\" b=\"false\" c=\"false\" d=\"false\">");
}

TEST(XmlObject, WriteNormalisesTagsAndCopiesEverythingElse)
{
    EXPECT_EQ(Written("<P  ALIGN=center >"), "<P ALIGN=\"center\">");
    EXPECT_EQ(Written("</P >"), "</P>");
    EXPECT_EQ(Written("<img src=x />"), "<img src=\"x\"/>");
    EXPECT_EQ(Written("<td nowrap>"), "<td nowrap=\"\">");
    EXPECT_EQ(Written("</a href=x>"), "</a href=\"x\">");
    EXPECT_EQ(Written("<!DOCTYPE  wml x=y>"), "<!DOCTYPE  wml x=y>");
    EXPECT_EQ(Written("<?xml  version='1.0'?>"), "<?xml  version='1.0'?>");
    EXPECT_EQ(Written("<!--  a  -->"), "<!--  a  -->");
    EXPECT_EQ(Written(" a  b "), " a  b ");
    EXPECT_EQ(Written(CXmlObject()), "");

    auto record = Record("<p a=1>");
    record->SetName("/card");
    EXPECT_EQ(Written(*record), "<card a=\"1\">");
    std::unique_ptr<CXmlObject> clone(record->Clone());
    EXPECT_EQ(Written(*clone), "<p a=\"1\">");

    record = Record("<Td x=1>");
    std::unique_ptr<CXmlObject> end(record->CreateEndTag());
    EXPECT_STREQ(end->GetText(), "</Td>");
    EXPECT_STREQ(end->GetName(), "Td");
    record = Record("<br x=1>");
    record->MakeEmptyElement();
    EXPECT_STREQ(record->GetText(), "<br x=1/>");
    EXPECT_EQ(Written(*record), "<br x=\"1\"/>");
}

// Making a tag empty lengthens its text by a byte: in its block when the
// block has a spare byte, in a new block when not. Blocks of every size, from
// the pool and from the heap, read and edit alike afterwards.
TEST(XmlObject, MakeEmptyElementKeepsNameAndAttributes)
{
    // One blank or two give blocks of both parities, so one of them ends on
    // the last byte that one-byte offsets reach.
    for (size_t n = 1; n <= 160; ++n) {
        for (const std::string gap : {" ", "  "}) {
            const std::string value(n, 'v');
            auto tag = Record("<img src=\"" + value + "\"" + gap + "alt=x>");
            tag->MakeEmptyElement();
            EXPECT_EQ(std::string(tag->GetText()), "<img src=\"" + value + "\"" + gap + "alt=x/>");
            EXPECT_STREQ(tag->GetName(), "img");
            ASSERT_EQ(tag->GetAttributeCount(), 2);
            EXPECT_EQ(tag->GetAttributeValue(0), value);
            EXPECT_STREQ(tag->GetAttributeValue(1), "x");
            EXPECT_TRUE(tag->IsEmptyOrEndTag());
            tag->SetAttribute("src", "w");
            EXPECT_EQ(Written(*tag), "<img src=\"w\" alt=\"x\"/>");
        }
    }
}

// The token is read up to `length` bytes or up to a NUL among them, never
// further; the buffers below are exactly as long as the token.
TEST(XmlObject, SetTextStopsAtNulAndAtLength)
{
    const char withNul[] = {'<', 'b', '>', '\0', '<', 'i', '>'};
    std::unique_ptr<char[]> exact(new char[sizeof withNul]);
    memcpy(exact.get(), withNul, sizeof withNul);
    CXmlObject record;
    record.SetText(exact.get(), sizeof withNul);
    EXPECT_STREQ(record.GetText(), "<b>");
    EXPECT_STREQ(record.GetName(), "b");

    std::unique_ptr<char[]> tag(new char[4]);
    memcpy(tag.get(), "<td>", 4);
    record.SetText(tag.get(), 4);
    EXPECT_STREQ(record.GetText(), "<td>");
    EXPECT_STREQ(record.GetName(), "td");

    record.SetText(tag.get(), 0);
    EXPECT_STREQ(record.GetText(), "");
    EXPECT_EQ(record.GetName(), nullptr);
    EXPECT_EQ(record.GetAttributeCount(), 0);
}

}  // namespace

// Edits that shorten a piece in place must leave every later piece readable
// and the record writable with the exact length it reports.
TEST(XmlObject, InPlaceEditsKeepTheOtherPieces)
{
    auto record = Record("<Blockquote Class=a ID=\"b c\">");
    record->SetName("p");
    EXPECT_STREQ(record->GetName(), "p");
    EXPECT_STREQ(record->GetAttributeName(1), "ID");
    EXPECT_STREQ(record->GetAttributeValue(1), "b c");
    EXPECT_EQ(Written(*record), "<p Class=\"a\" ID=\"b c\">");
    record->SetName("");
    EXPECT_EQ(record->GetNameCode(), 0);
    EXPECT_STREQ(record->GetAttributeValue(0), "a");
    record->SetName("blockquote-wide");
    EXPECT_EQ(Written(*record), "<blockquote-wide Class=\"a\" ID=\"b c\">");
    record->LowerCaseNames();
    EXPECT_EQ(Written(*record), "<blockquote-wide class=\"a\" id=\"b c\">");

    auto text = Record("\r\n  one\t\ttwo  \n");
    text->SetName("n");
    text->CollapseText();
    EXPECT_STREQ(text->GetText(), " one two ");
    EXPECT_EQ(text->GetTextLength(), 9);
    EXPECT_STREQ(text->GetName(), "n");
    text->ReplaceText(std::string(300, 'x'));
    EXPECT_EQ(text->GetTextLength(), 300);
    EXPECT_STREQ(text->GetName(), "n");
}

TEST(XmlObject, TrimTextKeepsTheRestOfTheRecord)
{
    auto record = Record(" a b ");
    record->SetName("t");
    record->TrimText(1, 4);
    EXPECT_STREQ(record->GetText(), "a b");
    EXPECT_STREQ(record->GetName(), "t");
    record->TrimText(2, 99);
    EXPECT_STREQ(record->GetText(), "b");
    record->TrimText(5, 3);
    EXPECT_STREQ(record->GetText(), "");
    EXPECT_EQ(record->GetTextLength(), 0);
    EXPECT_STREQ(record->GetName(), "t");

    // Trimming can leave a tag behind: the kind follows the text.
    record = Record(" <b> ");
    EXPECT_FALSE(record->IsTag());
    record->TrimText(1, 4);
    EXPECT_TRUE(record->IsTag());
}

// Name codes ignore case; the lower-case flag decides rule lookup.
TEST(XmlObject, NameCodeAndCase)
{
    auto upper = Record("<TABLE>");
    auto lower = Record("<table>");
    EXPECT_NE(upper->GetNameCode(), 0);
    EXPECT_EQ(upper->GetNameCode(), lower->GetNameCode());
    EXPECT_FALSE(upper->IsNameLowerCase());
    upper->LowerCaseNames();
    EXPECT_TRUE(upper->IsNameLowerCase());
    EXPECT_EQ(Record("<tablex>")->GetNameCode(), 0);
    EXPECT_EQ(Record("text")->GetNameCode(), 0);
}

// Short records keep their pieces inside the record, longer ones in a block:
// every edit must read the same on both sides of the boundary and across it.
TEST(XmlObject, RecordsOfEverySizeReadAndEditAlike)
{
    for (size_t n = 1; n <= 20; ++n) {
        const std::string name(n, 'b');
        auto tag = Record("<" + name + ">");
        EXPECT_STREQ(tag->GetName(), name.c_str());
        EXPECT_EQ(tag->GetTextLength(), static_cast<int>(n + 2));
        tag->SetName((name + "i").c_str());
        EXPECT_EQ(Written(*tag), "<" + name + "i>");
        tag->SetAttribute("x", "1");
        EXPECT_EQ(Written(*tag), "<" + name + "i x=\"1\">");
        const std::string value(n - 1, 'v');
        tag->SetAttribute("x", value.c_str());
        EXPECT_EQ(Written(*tag), "<" + name + "i x=\"" + value + "\">");
        EXPECT_STREQ(tag->GetAttribute("x"), value.c_str());
        tag->ClearAttributes();
        EXPECT_EQ(tag->GetAttributeCount(), 0);
        tag->SetName("B");
        tag->LowerCaseNames();
        EXPECT_EQ(Written(*tag), "<b>");
        EXPECT_STREQ(tag->GetText(), ("<" + name + ">").c_str());
        tag->MakeEmptyElement();
        EXPECT_STREQ(tag->GetText(), ("<" + name + "/>").c_str());
        EXPECT_STREQ(tag->GetName(), "b");
        EXPECT_TRUE(tag->IsEmptyOrEndTag());

        auto text = Record(" " + std::string(n, 'a') + " \n ");
        text->CollapseText();
        text->TrimText(1, n + 1);
        EXPECT_EQ(text->GetText(), std::string(n, 'a'));
        EXPECT_EQ(text->GetName(), nullptr);
        text->ReplaceText(std::string("a\0b", 3) + std::string(n, 'c'));
        EXPECT_EQ(text->GetTextLength(), static_cast<int>(n + 3));

        // A node takes the record's contents over and the record is left empty.
        CXmlNode node(Record("</" + name + ">").release());
        EXPECT_STREQ(node.GetName(), name.c_str());
        EXPECT_TRUE(node.IsEmptyOrEndTag());
    }
}

// Blocks below 256 bytes keep one-byte offsets and larger ones four-byte
// offsets: tags on either side of the boundary, and edits across it, read alike.
TEST(XmlObject, TagsAroundTheOffsetWidthBoundaryReadAndEditAlike)
{
    for (size_t length = 96; length <= 124; ++length) {
        const std::string value(length, 'v');
        auto tag = Record("<a href=\"" + value + "\" id=x>");
        ASSERT_EQ(tag->GetAttributeCount(), 2);
        EXPECT_EQ(tag->GetAttributeValue(0), value);
        EXPECT_STREQ(tag->GetAttributeValue(1), "x");
        tag->SetName("anchor");
        EXPECT_STREQ(tag->GetName(), "anchor");
        EXPECT_EQ(tag->GetAttributeValue(0), value);
        tag->SetAttribute("id", "yy");
        EXPECT_EQ(Written(*tag), "<anchor href=\"" + value + "\" id=\"yy\">");
        tag->KeepAttributes("id\0");
        EXPECT_EQ(Written(*tag), "<anchor id=\"yy\">");
        EXPECT_EQ(tag->GetTextLength(), static_cast<int>(length + 16));
        tag->TrimText(0, 3);
        EXPECT_STREQ(tag->GetText(), "<a ");
        EXPECT_STREQ(tag->GetAttributeValue(0), "yy");
    }
}

// A tag assembled from its parts is what parsing its text makes, each value
// kept exactly as given; a copy is the same record, short or long.
TEST(XmlObjectAssembly, AssembledAndCopiedTagsMatchTheParsedOne)
{
    CXmlObject assembled;
    assembled.SetEmptyElement("postfield", {{"name", "n"}, {"value", "$(v)"}});
    const auto parsed = Record("<postfield name=\"n\" value=\"$(v)\"/>");
    EXPECT_EQ(Written(assembled), Written(*parsed));
    EXPECT_EQ(assembled.GetNameCode(), parsed->GetNameCode());
    EXPECT_TRUE(assembled.IsTag() && assembled.IsStartTag() && assembled.IsEmptyOrEndTag());
    EXPECT_STREQ(assembled.GetAttribute("VALUE"), "$(v)");

    CXmlObject quoted;
    quoted.SetEmptyElement("x", {{"v", "a\"b"}, {"w", ""}});
    EXPECT_STREQ(quoted.GetAttribute("v"), "a\"b");
    EXPECT_EQ(quoted.GetAttributeCount(), 2);

    for (const std::string& text : {std::string("ab"), std::string("<b>"),
                                    "<p class=\"" + std::string(300, 'c') + "\">"}) {
        SCOPED_TRACE(text.substr(0, 12));
        const auto original = Record(text);
        CXmlObject copy;
        copy.SetText("<old>", 5);
        copy.CopyFrom(*original);
        EXPECT_EQ(Written(copy), Written(*original));
        EXPECT_STREQ(copy.GetText(), original->GetText());
        EXPECT_EQ(copy.GetAttributeCount(), original->GetAttributeCount());
    }
}
