#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "QuorrelVersion.h"
#include "devices/ConfigFixture.h"
#include "library/Exports.h"
#include "support/TreeDump.h"

namespace {

int Convert(const std::string& page, char* output, int& capacity)
{
    char* tag = nullptr;
    char* agent = nullptr;
    std::string copy = page;
    char* text = &copy[0];
    int length = static_cast<int>(page.size());
    return WapConvert(tag, agent, text, length, output, capacity);
}

TEST(WapConvert, VersionText)
{
    EXPECT_STREQ(LibraryVersion(), QUORREL_VERSION_TEXT);
}

TEST(WapConvert, WorkedExampleGivesNineLines)
{
    EXPECT_EQ(ConvertPage("<html><head><title>Hi</title></head><body><p>Hello</p></body></html>"),
              "<?xml version=\"1.0\"?>\r\n"
              "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
              "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
              "<wml>\r\n<card id=\"card1\" title=\"Hi\">\r\n<p>\r\nHello\r\n</p>\r\n"
              "</card>\r\n</wml>\r\n");
}

// A buffer equal to the measured length is refused and left untouched; one
// byte more is accepted and the result is the text's length.
TEST(WapConvert, CapacityRule)
{
    const std::string page = "<p>x</p>";
    char big[4096];
    int capacity = sizeof big;
    int length = Convert(page, big, capacity);
    ASSERT_GT(length, 0);
    EXPECT_EQ(capacity, length);
    EXPECT_EQ(static_cast<int>(strlen(big)), length);

    int measured = 0;
    for (int size = 1; size < 4096; ++size) {
        std::string buffer(static_cast<size_t>(size), '#');
        int room = size;
        if (Convert(page, &buffer[0], room) != 0) {
            measured = size - 1;
            break;
        }
        EXPECT_EQ(room, 0);
        EXPECT_EQ(buffer, std::string(static_cast<size_t>(size), '#'));
    }
    ASSERT_GT(measured, 0);
    EXPECT_GE(measured, length);
}

TEST(WapConvert, BadArgumentsGiveZero)
{
    char out[64];
    int capacity = -5;
    EXPECT_EQ(Convert("<p>x</p>", out, capacity), 0);
    EXPECT_EQ(capacity, 0);

    char* tag = nullptr;
    char* agent = nullptr;
    char* page = nullptr;
    int length = 100;
    char* output = nullptr;
    int room = 100000;
    EXPECT_EQ(WapConvert(tag, agent, page, length, output, room), 0);
    EXPECT_EQ(room, 0);

    char buffer[4096];
    output = buffer;
    room = sizeof buffer;
    EXPECT_GT(WapConvert(tag, agent, page, length, output, room), 0);
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(length, 100);
}

TEST(WapConvert, TwoCallsGiveTheSameDeck)
{
    const std::string page = ReadFile(QUORREL_SOURCE_DIR "/examples/welcome.html");
    ASSERT_FALSE(page.empty());
    const std::string first = ConvertPage(page, "Nokia7110/1.0");
    EXPECT_EQ(first.compare(0, 5, "<?xml"), 0);
    EXPECT_EQ(ConvertPage(page, "Nokia7110/1.0"), first);
}

// Every byte value, in text, in tag names and in attribute values.
TEST(WapConvert, NulAndHighBytesConvert)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    const std::string page = "<html><body><p>" + bytes + "</p><p\x80 a=\"" + bytes + "\" b=\xff>" +
                             bytes.substr(128) + "<\xe9t>x</\xe9t></body></html>";
    char output[65536];
    int capacity = sizeof output;
    const int length = Convert(page, output, capacity);
    ASSERT_GT(length, 0);
    EXPECT_EQ(static_cast<int>(strlen(output)), length);
    EXPECT_EQ(std::string(output, 5), "<?xml");
}

// Unclosed void tags nest a million deep until the pre-pass flattens them;
// empty text styles are a million siblings. Both on a 256 KiB stack, with the
// deck bound lifted above the seven megabytes of breaks.
using LargeDecks = ConfigTest;

TEST_F(LargeDecks, DeepAndWidePagesConvertOnASmallStack)
{
    Load("DEVICE_GROUP=LARGE\nMAX_DECK_BYTES=2147483647\n");
    const int count = 1000000;
    std::string nested;
    std::string siblings;
    for (int i = 0; i < count; ++i) {
        nested += "<br>";
        siblings += "<b> </b>";
    }
    std::string nestedDeck;
    std::string siblingDeck;
    RunOnSmallStack([&] {
        nestedDeck = ConvertPage(nested);
        siblingDeck = ConvertPage(siblings);
    });
    EXPECT_EQ(nestedDeck.compare(0, 5, "<?xml"), 0);
    size_t breaks = 0;
    for (size_t at = nestedDeck.find("<br/>"); at != std::string::npos;
         at = nestedDeck.find("<br/>", at + 1))
        ++breaks;
    EXPECT_EQ(breaks, static_cast<size_t>(count));
    EXPECT_EQ(siblingDeck.compare(0, 5, "<?xml"), 0);
    EXPECT_LT(siblingDeck.size(), static_cast<size_t>(count));
}

}  // namespace
