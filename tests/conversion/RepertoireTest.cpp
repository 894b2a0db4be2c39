#include <gtest/gtest.h>

#include <string>

#include "conversion/Repertoire.h"
#include "devices/ConfigFixture.h"

namespace {

enum EPlace { Text, Attribute, Link };

// An escaped deck text reduced to a repertoire; the text itself when the
// reduction reports no change.
std::string Reduced(int32_t repertoire, const std::string& text, const char* encoding = "UTF-8",
                    EPlace place = Text)
{
    CRepertoireReduction reduction(repertoire, encoding);
    std::string out = "(unchanged)";
    const bool changed =
        reduction.ReduceText(text.data(), text.size(), place != Text, place == Link, out);
    return changed ? out : text;
}

std::string Latin1(const std::string& text, const char* encoding = "UTF-8", EPlace place = Text)
{
    return Reduced(RepertoireLatin1, text, encoding, place);
}

std::string Ascii(const std::string& text, const char* encoding = "UTF-8", EPlace place = Text)
{
    return Reduced(RepertoireAscii, text, encoding, place);
}

TEST(Repertoire, SignsBeyondLatin1BecomePlainApproximations)
{
    EXPECT_EQ(Latin1("It\u2019s \u201Cso\u201D \u2018x\u2019 \u2013 \u2014 \u2026 \u2022 \u20AC5 \u2122"),
              "It's \"so\" 'x' - - ... * EUR5 (TM)");
    // Latin-1 stays as it is, byte for byte.
    EXPECT_EQ(Latin1("caf\u00E9 \u00DF \u00E6 \u00A9\u00A0!"), "caf\u00E9 \u00DF \u00E6 \u00A9\u00A0!");
    EXPECT_EQ(Ascii("caf\u00E9 \u00DF \u00E6 \u00A9\u00A0\u00AD!"), "cafe ss ae (c) !");
    EXPECT_EQ(Ascii("\u201Cna\u00EFve\u201D \u2014 \u00BD"), "\"naive\" -  1/2");
}

TEST(Repertoire, OtherScriptsAndMarks)
{
    EXPECT_EQ(Latin1("\u041C\u043E\u0441\u043A\u0432\u0430 \u0429\u0443\u043A\u0430"), "Moskva Suka");
    EXPECT_EQ(Latin1("\u0391\u03B8\u03AE\u03BD\u03B1 \u0398\u03B5\u03CC\u03C2"), "Athena Theos");
    EXPECT_EQ(Latin1("\u0141\u00F3d\u017A \u0111"), "L\u00F3dz d");
    // Letters without a common Latin spelling, and unknown signs.
    EXPECT_EQ(Latin1("\u4E2D\u6587 \u05E9\u05DC \u2603"), "?? ?? ?");
    // Combining marks go with their letter; invisible format characters go.
    EXPECT_EQ(Ascii("e\u0301t\u0308e\u200B!\uFEFF"), "ete!");
}

// References are read like the bytes: the ones of characters beyond the
// repertoire are replaced, the others stay as the deck's escaping wrote them.
TEST(Repertoire, ReferencesAreReduced)
{
    EXPECT_EQ(Latin1("a&#8212;b&#x2014;c &#233;&nbsp;&shy;&amp;&lt;&#36;"),
              "a-b-c &#233;&nbsp;&shy;&amp;&lt;&#36;");
    EXPECT_EQ(Ascii("&#233;t&#xE9;&nbsp;x&shy;y &amp;bogus;"), "ete xy &amp;bogus;");
}

TEST(Repertoire, ApproximationsAreEscaped)
{
    EXPECT_EQ(Ascii("\u00AB x \u00BB"), "&lt;&lt; x &gt;&gt;");
    EXPECT_EQ(Latin1("\uFF06 \uFF04(x)"), "&amp; $$(x)");
    EXPECT_EQ(Latin1("\u201Cx\u201D", "UTF-8", Attribute), "&quot;x&quot;");
}

// A link's characters become their UTF-8 bytes in %XX form, so it still
// leads where it led; its Latin-1 characters stay for a Latin-1 handset.
TEST(Repertoire, LinksArePercentEncoded)
{
    EXPECT_EQ(Latin1("/\u0395\u03BB?q=\u00E9&#8212;", "UTF-8", Link),
              "/%CE%95%CE%BB?q=\u00E9%E2%80%94");
    EXPECT_EQ(Ascii("/caf\xE9?a=1&amp;b=\xFC", "ISO-8859-1", Link), "/caf%C3%A9?a=1&amp;b=%C3%BC");
    EXPECT_EQ(Ascii("/\x93\xFA", "Shift_JIS", Link), "/%93%FA");
}

TEST(Repertoire, DecksInOtherEncodings)
{
    // Latin-1 bytes stay for a Latin-1 handset; only the references change.
    EXPECT_EQ(Latin1("\xE9t\xE9 &#8211; &#8220;x&#8221;", "ISO-8859-1"), "\xE9t\xE9 - \"x\"");
    EXPECT_EQ(Ascii("\xE9t\xE9 \xA9", "ISO-8859-1"), "ete (c)");
    EXPECT_EQ(Latin1("\xCC\xEE\xF1\xEA\xE2\xE0 \xA9", "windows-1251"), "Moskva \xA9");
    EXPECT_EQ(Ascii("\xAF\xF3\xB3w", "ISO-8859-2"), "Zolw");
    EXPECT_EQ(Latin1("\x93\xFA\x96\x7B (\x83\x5C)", "Shift_JIS"), "?? (?)");
    // The text stays in ASCII, so no shift sequence is left.
    EXPECT_EQ(Latin1("a\x1B$BF|K\\\x1B(B b", "ISO-2022-JP"), "a?? b");
}

TEST(Repertoire, AllKeepsEveryCharacter)
{
    EXPECT_FALSE(CRepertoireReduction(RepertoireAll, "UTF-8").Active());
    EXPECT_TRUE(CRepertoireReduction(RepertoireLatin1, nullptr).Active());
    EXPECT_EQ(ApproximationOf(0x2014), std::string("-"));
    EXPECT_EQ(ApproximationOf(0x10FFFD), std::string("?"));
    EXPECT_EQ(ApproximationOf(UnknownCharacter), std::string("?"));
}

// The first group is the fallback device's, which keeps every character.
const char Profiles[] =
    "DEVICE_GROUP=BASIC\n"
    "DEVICE_GROUP=PLAIN\n"
    "REPERTOIRE=ASCII\n"
    "DEVICE=SMALL\n"
    "USERAGENT=Small*\n"
    "GROUP=PLAIN\n"
    "DEVICE=LATIN\n"
    "USERAGENT=Latin*\n"
    "REPERTOIRE=latin1\n";

// Whole conversions: every text and attribute value of the deck is reduced,
// what the page wrote as references too, and the default device keeps all.
TEST_F(ConfigTest, DeckTextsAndAttributesAreReduced)
{
    Load(Profiles);
    const std::string page =
        "<html><head><title>Caf&eacute; \xE2\x80\x9CX\xE2\x80\x9D</title></head><body>"
        "<p>Na&iuml;ve &mdash; \xE2\x80\xA6 &#x20AC;<img src=\"a.png\" alt=\"\xC2\xAB" "B\xC2\xBB\">"
        "<a href=\"/\xC3\xA9t\xC3\xA9\">\xC3\xA9t\xC3\xA9</a></p></body></html>";
    const std::string all = ConvertPage(page);
    EXPECT_NE(all.find("Na&#239;ve &#8212; \xE2\x80\xA6 &#x20ac;"), std::string::npos) << all;
    const std::string latin = ConvertPage(page, "Latin/1.0");
    EXPECT_NE(latin.find("title=\"Caf&#233; &quot;X&quot;\""), std::string::npos) << latin;
    EXPECT_NE(latin.find("Na&#239;ve - ... EUR"), std::string::npos) << latin;
    EXPECT_NE(latin.find("alt=\"\xC2\xAB" "B\xC2\xBB\""), std::string::npos) << latin;
    const std::string ascii = ConvertPage(page, "Small/2.0");
    EXPECT_NE(ascii.find("title=\"Cafe &quot;X&quot;\""), std::string::npos) << ascii;
    EXPECT_NE(ascii.find("Naive - ... EUR"), std::string::npos) << ascii;
    EXPECT_NE(ascii.find("alt=\"&lt;&lt;B&gt;&gt;\""), std::string::npos) << ascii;
    EXPECT_NE(ascii.find("href=\"/%C3%A9t%C3%A9\">ete</a>"), std::string::npos) << ascii;
}

// A windows-1252 page is given as ISO-8859-1 with its bytes 0x80 to 0x9F as
// references: those are reduced, its Latin-1 bytes stay for a Latin-1 handset.
TEST_F(ConfigTest, Windows1252PagesAreReduced)
{
    Load(Profiles);
    const std::string page = "<p>\x93\xE9t\xE9\x94 \x96 \x80</p>";
    const std::string latin = ConvertPage(page, "Latin/1.0");
    EXPECT_NE(latin.find("encoding=\"ISO-8859-1\""), std::string::npos) << latin;
    EXPECT_NE(latin.find("\"\xE9t\xE9\" - EUR"), std::string::npos) << latin;
    EXPECT_NE(ConvertPage(page, "Small/1.0").find("\"ete\" - EUR"), std::string::npos);
}

}  // namespace
