#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/ByteScan.h"
#include "platform/PlainBytes.h"
#include "platform/ShortCopy.h"
#include "platform/Text.h"

// Each fast kernel against its plain twin, at every start offset below 48
// and every length up to 64, so that every split between the sixteen- and
// eight-byte blocks and the bytes after them is met. The bytes are random
// but drawn so that the bytes each kernel looks for are frequent.
namespace {

constexpr size_t Offsets = 48;
constexpr size_t Lengths = 65;

// Random bytes, a third of them drawn from `frequent`.
std::vector<unsigned char> RandomBytes(size_t count, const std::string& frequent,
                                       unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(count);
    for (unsigned char& b : bytes) {
        const unsigned pick = random() % 3;
        b = pick == 0 && !frequent.empty()
                ? static_cast<unsigned char>(frequent[random() % frequent.size()])
                : static_cast<unsigned char>(random());
    }
    return bytes;
}

// Calls check(text, length) for every offset and length, over a few seeds.
template <typename Check>
void ForEveryPlacement(const std::string& frequent, Check check)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        const std::vector<unsigned char> bytes = RandomBytes(Offsets + Lengths, frequent, seed);
        for (size_t offset = 0; offset < Offsets; ++offset)
            for (size_t length = 0; length < Lengths; ++length) {
                SCOPED_TRACE("seed " + std::to_string(seed) + ", offset " +
                             std::to_string(offset) + ", length " + std::to_string(length));
                check(bytes.data() + offset, length);
            }
    }
}

const char* Chars(const unsigned char* bytes) { return reinterpret_cast<const char*>(bytes); }

TEST(KernelParity, ByteSetScanFindsWhatItsTwinFinds)
{
    constexpr CByteSet one = {'<'};
    constexpr CByteSet eight = {'\r', '\n', '"', '%', '<', '>', '&', 0xFF};
    ForEveryPlacement("<>\r\n\"%&\xFF", [&](const unsigned char* text, size_t length) {
        for (size_t from = 0; from <= length; from += 5) {
            EXPECT_EQ(one.FindFirst(Chars(text), from, length),
                      one.FindFirstPlain(Chars(text), from, length));
            EXPECT_EQ(eight.FindFirst(Chars(text), from, length),
                      eight.FindFirstPlain(Chars(text), from, length));
        }
    });
}

TEST(KernelParity, BlankCollapseGivesWhatItsTwinGives)
{
    ForEveryPlacement(std::string("  \t\n\r\v", 6) + std::string(1, '\0'),
                      [&](const unsigned char* text, size_t length) {
                          std::string fast(Chars(text), length);
                          std::string plain = fast;
                          fast.resize(CollapseWhitespace(&fast[0], fast.size()));
                          plain.resize(CollapseWhitespacePlain(&plain[0], plain.size()));
                          EXPECT_EQ(fast, plain);
                      });
}

TEST(KernelParity, PlainByteScansAnswerAsTheirTwins)
{
    ForEveryPlacement("abc \t\n\r\x1B\x80\xC3", [&](const unsigned char* text, size_t length) {
        EXPECT_EQ(SkipPlainBytes(text, text + length), SkipPlainBytesPlain(text, text + length));
        EXPECT_EQ(HoldsByteBeyondAscii(text, text + length),
                  HoldsByteBeyondAsciiPlain(text, text + length));
    });
}

TEST(KernelParity, ShortCopiesCopyExactlyTheirBytes)
{
    ForEveryPlacement("", [&](const unsigned char* text, size_t length) {
        // The bytes around the copy stay as they were.
        std::string fast(length + 2, '#');
        std::string plain = fast;
        CopyShortBytes(&fast[1], Chars(text), length);
        CopyBytesPlain(&plain[1], Chars(text), length);
        EXPECT_EQ(fast, plain);
        EXPECT_EQ(fast.substr(1, length), std::string(Chars(text), length));
    });
}

}  // namespace
