#include <gtest/gtest.h>

#include <string>

#include "markup/PageEncoding.h"

namespace {

struct CReading {
    std::string Encoding;
    bool Named;
    std::string Text;
};

CReading Read(const std::string& page)
{
    CPageBytes bytes;
    ReadPageBytes(page.data(), static_cast<int>(page.size()), bytes);
    return {bytes.Encoding != nullptr ? bytes.Encoding : "", bytes.NameEncoding,
            std::string(bytes.Text, static_cast<size_t>(bytes.Length))};
}

TEST(PageEncoding, SourcesAreTakenInOrder)
{
    // The XML declaration comes before a meta element, a meta element before
    // the bytes themselves.
    EXPECT_EQ(Read("<?xml version='1.0' encoding='koi8-r'?><meta charset=utf-8>\xC1").Encoding,
              "KOI8-R");
    EXPECT_EQ(Read("<?xml version=\"1.0\"?><meta charset=\" Latin2 \">").Encoding, "ISO-8859-2");
    EXPECT_EQ(Read("<meta http-equiv=Content-Type content='text/html;charset=\"sjis\"'>").Encoding,
              "Shift_JIS");
    // An unknown label, a meta in a comment or after the body's start, and a
    // content without http-equiv name nothing.
    EXPECT_EQ(Read("<meta charset=bogus><!-- <meta charset=big5> --><p>\xE9</p>").Encoding,
              "ISO-8859-1");
    EXPECT_EQ(Read("<body><meta charset=big5>\xC3\xA9").Encoding, "UTF-8");
    EXPECT_EQ(Read("<meta content='text/html; charset=big5'>").Encoding, "UTF-8");
    // A page that says UTF-16 yet was read as ASCII bytes is UTF-8.
    EXPECT_EQ(Read("<meta charset=utf-16>").Encoding, "UTF-8");
}

TEST(PageEncoding, OnlyBytesBeyondAsciiNeedTheirEncodingNamed)
{
    EXPECT_FALSE(Read("<meta charset=latin1><p>plain</p>").Named);
    EXPECT_TRUE(Read("<meta charset=latin1><p>\xE9</p>").Named);
    EXPECT_FALSE(Read("<p>\xC3\xA9</p>").Named);
    // In ISO-2022-JP the escape byte switches the character set and stays.
    const CReading japanese = Read("<meta charset=iso-2022-jp>\x1B$B0!\x1B(B");
    EXPECT_TRUE(japanese.Named);
    EXPECT_EQ(japanese.Text, "<meta charset=iso-2022-jp>\x1B$B0!\x1B(B");
}

TEST(PageEncoding, BytesChangeOnlyWhereXmlCannotTakeThem)
{
    EXPECT_EQ(Read("a\tb\r\nc").Text, "a\tb\r\nc");
    EXPECT_EQ(Read(std::string("a\0b\x1F\x7F", 5)).Text, "ab\x7F");
    EXPECT_EQ(Read("\xEF\xBB\xBF<p>").Text, "<p>");
    // A truncated sequence at the end, an overlong form and a lone trail byte.
    EXPECT_EQ(Read("<meta charset=utf-8>\xC0\xAF\x80\xE2\x82").Text,
              "<meta charset=utf-8>\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    // UTF-16 big-endian with a lone surrogate and an odd last byte.
    EXPECT_EQ(Read(std::string("\xFE\xFF\x00<\xD8\x00\x00>\x00", 9)).Text,
              "<\xEF\xBF\xBD>\xEF\xBF\xBD");
    // Windows-1252 keeps its bytes but those that ISO-8859-1 reads otherwise.
    EXPECT_EQ(Read("\xE9\x93\x01\x94\x81").Text, "\xE9&#8220;&#8221;&#129;");
}

// Plain bytes are passed in blocks: a byte to change is found wherever it
// falls in a block, and blocks of tabs and line ends pass untouched.
TEST(PageEncoding, EveryPlaceInABlockIsJudged)
{
    const std::string plain(40, 'x');
    for (size_t at = 0; at < plain.size(); ++at) {
        std::string page = plain;
        page[at] = '\x01';
        EXPECT_EQ(Read(page).Text, std::string(plain.size() - 1, 'x')) << "control at " << at;
        page[at] = '\xE9';
        EXPECT_EQ(Read(page).Encoding, "ISO-8859-1") << "Latin-1 byte at " << at;
    }
    const std::string lines = std::string(17, '\n') + std::string(17, '\t') + "\r\n";
    EXPECT_EQ(Read(lines).Text, lines);
    EXPECT_EQ(Read(lines + "\xC3\xA9" + lines).Encoding, "UTF-8");
}

}  // namespace
