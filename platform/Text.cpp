#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Simd.h"
#include "platform/Text.h"

// Names are short and their case varies from page to page: looking at every
// byte costs less than a mispredicted early return.
bool HasUpperCaseAscii(const char* text, size_t length)
{
    bool upper = false;
    for (const char* end = text + length; text != end; ++text)
        upper |= static_cast<unsigned char>(*text - 'A') < 26;
    return upper;
}

void LowerCaseAscii(char* text, size_t length)
{
    for (char* end = text + length; text != end; ++text)
        *text = static_cast<char>(LowerAscii(*text));
}

std::string& LowerCaseAscii(std::string& text)
{
    LowerCaseAscii(&text[0], text.size());
    return text;
}

void UpperCaseAscii(char* text)
{
    for (; *text != '\0'; ++text) *text = UpperAscii(*text);
}

std::string& UpperCaseAscii(std::string& text)
{
    for (char& c : text) c = UpperAscii(c);
    return text;
}

char* CopyHeapText(const char* text)
{
    const size_t length = strlen(text);
    char* copy = new char[length + 1];
    memcpy(copy, text, length + 1);
    return copy;
}

bool EqualNoCase(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr) return false;
    for (;; ++a, ++b) {
        unsigned char x = LowerAscii(*a);
        unsigned char y = LowerAscii(*b);
        if (x != y) return false;
        if (x == '\0') return true;
    }
}

namespace {

// Names are short: the way to the next one is walked, not measured.
const char* NextName(const char* name)
{
    while (*name != '\0') ++name;
    return name + 1;
}

}  // namespace

bool IsNameInList(const char* text, const char* list)
{
    if (text == nullptr || list == nullptr) return false;
    // Most names of a list differ from the text in their first byte.
    const unsigned char first = LowerAscii(text[0]);
    for (const char* name = list; *name != '\0'; name = NextName(name))
        if (LowerAscii(name[0]) == first && EqualNoCase(text, name)) return true;
    return false;
}

bool IsBlank(const char* text)
{
    if (text == nullptr) return true;
    for (; *text != '\0'; ++text)
        if (static_cast<unsigned char>(*text) > 32) return false;
    return true;
}

namespace {

#if QUORREL_WORDS
constexpr uint64_t EveryByte = 0x0101010101010101ull;

// True when one of the eight bytes in `word` is below `bound` (at most 128).
bool HasByteBelow(uint64_t word, unsigned bound)
{
    return ((word - EveryByte * bound) & ~word & EveryByte * 0x80) != 0;
}

// Eight bytes that collapsing leaves as they are, but for a space at their
// start after a blank: no blank but single spaces.
bool StaysAsItIs(uint64_t word)
{
    if (HasByteBelow(word, 32)) return false;
    // A byte is a space where all its bits end up set in `isSpace`.
    uint64_t isSpace = ~(word ^ EveryByte * ' ');
    isSpace &= isSpace >> 1;
    isSpace &= isSpace >> 2;
    isSpace &= isSpace >> 4;
    isSpace &= EveryByte;
    return (isSpace & (isSpace << 8)) == 0;
}
#endif

// One byte: a blank becomes a space, and the output position advances unless
// the byte continues a run of blanks. No branch depends on the text.
void CollapseByte(char byte, char* text, size_t& out, bool& afterBlank)
{
    const unsigned char c = static_cast<unsigned char>(byte);
    const bool blank = c <= 32;
    const unsigned char keep = static_cast<unsigned char>(blank - 1);
    text[out] = static_cast<char>((c & keep) | (' ' & ~keep));
    out += !(blank && afterBlank);
    afterBlank = blank;
}

#if QUORREL_SSE2
// Sixteen bytes at a time: sixteen blanks add one space at most, and in
// sixteen bytes where no blank follows a blank every blank becomes a space in
// place. The output never passes the input, so a block is read before its
// place is written.
void CollapseBlocks(char* text, size_t length, size_t& out, size_t& in, bool& afterBlank)
{
    const __m128i blankLimit = _mm_set1_epi8(32);
    const __m128i spaces = _mm_set1_epi8(' ');
    for (; in + 16 <= length; in += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + in));
        const __m128i blanks = _mm_cmpeq_epi8(_mm_min_epu8(block, blankLimit), block);
        const unsigned blank = static_cast<unsigned>(_mm_movemask_epi8(blanks));
        if (blank == 0xFFFF) {
            if (!afterBlank) text[out++] = ' ';
            afterBlank = true;
            continue;
        }
        const __m128i spaced =
            _mm_or_si128(_mm_andnot_si128(blanks, block), _mm_and_si128(blanks, spaces));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(text + out), spaced);
        const unsigned dropped = blank & (blank << 1 | (afterBlank ? 1u : 0u));
        if (dropped == 0) {
            out += 16;
            afterBlank = (blank >> 15) != 0;
            continue;
        }
        // The bytes before the first dropped blank are in place; from there
        // the block goes byte by byte, from a copy, as its place is written.
        const unsigned first = static_cast<unsigned>(__builtin_ctz(dropped));
        alignas(16) char bytes[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(bytes), block);
        out += first;
        afterBlank = true;
        for (unsigned i = first; i < 16; ++i) CollapseByte(bytes[i], text, out, afterBlank);
    }
}
#endif

// Bytes up to 32 are blanks; each run of blanks becomes one space. Most
// stretches need no change and move as one block.
size_t CollapseInPlace(char* text, size_t length)
{
    size_t out = 0;
    size_t in = 0;
    bool afterBlank = false;
#if QUORREL_SSE2
    CollapseBlocks(text, length, out, in, afterBlank);
#endif
#if QUORREL_WORDS
    for (uint64_t word; in + 8 <= length; in += 8) {
        memcpy(&word, text + in, 8);
        if (StaysAsItIs(word) && !(afterBlank && text[in] == ' ')) {
            afterBlank = text[in + 7] == ' ';
            memcpy(text + out, &word, 8);
            out += 8;
            continue;
        }
        for (size_t i = in; i < in + 8; ++i) CollapseByte(text[i], text, out, afterBlank);
    }
#endif
    for (; in < length; ++in) CollapseByte(text[in], text, out, afterBlank);
    return out;
}

}  // namespace

void CollapseWhitespace(char* text)
{
    if (text == nullptr) return;
    text[CollapseInPlace(text, strlen(text))] = '\0';
}

size_t CollapseWhitespace(char* text, size_t length)
{
    return CollapseInPlace(text, length);
}

void CollapseWhitespace(std::string& text)
{
    text.resize(CollapseInPlace(&text[0], text.size()));
}

size_t CollapseWhitespacePlain(char* text, size_t length)
{
    size_t out = 0;
    bool afterBlank = false;
    for (size_t in = 0; in < length; ++in) CollapseByte(text[in], text, out, afterBlank);
    return out;
}
