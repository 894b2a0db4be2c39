#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "conversion/DeckCharacters.h"

namespace {

// Each character of the text as "code/length", codes in hex, "?" for an
// unknown one and "shift" for an escape sequence.
std::string Characters(const char* encoding, const std::string& text)
{
    CDeckCharacters characters(encoding);
    characters.StartText();
    std::string out;
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); p < end;) {
        const size_t plain = characters.PlainBytes(p, end);
        if (plain != 0) {
            out += "plain/" + std::to_string(plain) + " ";
            p += plain;
            continue;
        }
        const CDeckCharacter c = characters.Read(p, end);
        char code[16];
        snprintf(code, sizeof code, "%X", c.Code);
        out += c.Code == UnknownCharacter ? "?" : c.Code == ShiftSequence ? "shift" : code;
        out += "/" + std::to_string(c.Length) + " ";
        p += c.Length;
    }
    return out;
}

TEST(DeckCharacters, Utf8AndLatin1)
{
    EXPECT_EQ(Characters("UTF-8", "a\xC3\xA9\xE2\x80\x94\xF0\x9F\x98\x80&"),
              "plain/1 E9/2 2014/3 1F600/4 26/1 ");
    // Sequences that a profile's own text may bring: one unknown byte each.
    EXPECT_EQ(Characters(nullptr, "\xE9t\xED\xA0\x80"), "?/1 plain/1 ?/1 ?/1 ?/1 ");
    EXPECT_EQ(Characters("ISO-8859-1", "\xE9\x80"), "E9/1 80/1 ");
}

TEST(DeckCharacters, SingleByteEncodingsByTheirTables)
{
    EXPECT_EQ(Characters("windows-1251", "\xCC\xEE"), "41C/1 43E/1 ");
    EXPECT_EQ(Characters("KOI8-R", "\xED\xCF"), "41C/1 43E/1 ");
    EXPECT_EQ(Characters("ISO-8859-15", "\xA4\xE9"), "20AC/1 E9/1 ");
    // Windows-1253 leaves 0xAA undefined.
    EXPECT_EQ(Characters("windows-1253", "\xAA\xE1"), "?/1 3B1/1 ");
}

// Characters of several bytes are known by their lengths only; a trail byte
// in the ASCII range is no character of its own.
TEST(DeckCharacters, MultiByteEncodingsByLength)
{
    EXPECT_EQ(Characters("Shift_JIS", "\x83\x5C\xB1\x93"), "?/2 ?/1 ?/1 ");
    EXPECT_EQ(Characters("EUC-JP", "\xC6\xFC\x8E\xB1\x8F\xB0\xA1"), "?/2 ?/2 ?/3 ");
    EXPECT_EQ(Characters("EUC-KR", "\xB0\x41x"), "?/2 plain/1 ");
    EXPECT_EQ(Characters("gb18030", "\x81\x30\x81\x30\xD6\xD0\x81"), "?/4 ?/2 ?/1 ");
    EXPECT_EQ(Characters("Big5", "\xA4\x40\xA4<"), "?/2 ?/1 plain/1 ");
}

// ISO-2022-JP: escape sequences switch sets, and after a shift into the
// two-byte set even '&' is half a character.
TEST(DeckCharacters, Iso2022JpShifts)
{
    EXPECT_EQ(Characters("ISO-2022-JP", "a\x1B$BF|&#\x1B(Bb\x1B(I1\x1B(Jc\x1B$Z"),
              "plain/1 shift/3 ?/2 ?/2 shift/3 plain/1 shift/3 ?/1 shift/3 plain/1 ?/1 plain/2 ");
    EXPECT_EQ(Characters("ISO-2022-JP", "\x1B$BF|\n\x1B"), "shift/3 ?/2 A/1 ?/1 ");
}

// Plain text is read eight bytes at a time: a stop is found wherever it lies.
TEST(DeckCharacters, PlainBytesStopAtEveryPosition)
{
    const CDeckCharacters characters("UTF-8");
    for (const char stop : {'&', '\x1B', '\x80', '\xFF'})
        for (size_t at = 0; at < 20; ++at) {
            std::string text(20, 'a');
            text[at] = stop;
            EXPECT_EQ(characters.PlainBytes(text.data(), text.data() + text.size()), at)
                << static_cast<int>(stop) << " at " << at;
        }
    const std::string plain(21, '%');
    EXPECT_EQ(characters.PlainBytes(plain.data(), plain.data() + plain.size()), 21u);
}

TEST(DeckCharacters, ReferencesTheDeckWrites)
{
    struct Case {
        const char* Text;
        uint32_t Code;
        size_t Length;
    };
    for (const Case& c : std::vector<Case>{{"&#8212;x", 0x2014, 7},
                                           {"&#x2014;", 0x2014, 8},
                                           {"&#XE9;", 0xE9, 6},
                                           {"&nbsp;", 0xA0, 6},
                                           {"&shy;", 0xAD, 5},
                                           {"&#99999999;", UnknownCharacter, 11},
                                           {"&amp;", '&', 0},
                                           {"&#;", '&', 0},
                                           {"&#12", '&', 0},
                                           {"&nbsp", '&', 0}}) {
        const std::string text = c.Text;
        const CDeckCharacter read = ReadDeckReference(text.data(), text.data() + text.size());
        EXPECT_EQ(read.Code, c.Code) << c.Text;
        EXPECT_EQ(read.Length, c.Length) << c.Text;
    }
}

}  // namespace
