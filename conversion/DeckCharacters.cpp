#include "conversion/DeckCharacters.h"

#include <algorithm>
#include <cstring>

namespace {

using Bytes = const unsigned char*;

constexpr unsigned char Escape = 0x1B;

bool Within(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

bool IsContinuation(Bytes at, Bytes end, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    return at < end && Within(*at, low, high);
}

// A well-formed sequence gives its character; anything else, which only a
// profile's own text can bring (the page's bytes were made valid when it was
// read), is one unknown byte.
CDeckCharacter ReadUtf8(Bytes at, Bytes end)
{
    const unsigned char lead = *at;
    if (Within(lead, 0xC2, 0xDF) && IsContinuation(at + 1, end))
        return {static_cast<uint32_t>((lead & 0x1F) << 6 | (at[1] & 0x3F)), 2};
    if (Within(lead, 0xE0, 0xEF) &&
        IsContinuation(at + 1, end, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF) &&
        IsContinuation(at + 2, end))
        return {static_cast<uint32_t>((lead & 0x0F) << 12 | (at[1] & 0x3F) << 6 | (at[2] & 0x3F)), 3};
    if (Within(lead, 0xF0, 0xF4) &&
        IsContinuation(at + 1, end, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF) &&
        IsContinuation(at + 2, end) && IsContinuation(at + 3, end))
        return {static_cast<uint32_t>((lead & 0x07) << 18 | (at[1] & 0x3F) << 12 |
                                      (at[2] & 0x3F) << 6 | (at[3] & 0x3F)),
                4};
    return {UnknownCharacter, 1};
}

// The lengths of the characters of the encodings of several bytes a
// character, as their lead and trail bytes give them.
size_t ShiftJisLength(Bytes at, Bytes end)
{
    const bool lead = Within(*at, 0x81, 0x9F) || Within(*at, 0xE0, 0xFC);
    const bool trail = at + 1 < end && (Within(at[1], 0x40, 0x7E) || Within(at[1], 0x80, 0xFC));
    return lead && trail ? 2 : 1;
}

size_t EucJpLength(Bytes at, Bytes end)
{
    if (*at == 0x8E) return IsContinuation(at + 1, end, 0xA1, 0xDF) ? 2 : 1;
    if (*at == 0x8F)
        return IsContinuation(at + 1, end, 0xA1, 0xFE) && IsContinuation(at + 2, end, 0xA1, 0xFE) ? 3 : 1;
    return Within(*at, 0xA1, 0xFE) && IsContinuation(at + 1, end, 0xA1, 0xFE) ? 2 : 1;
}

size_t EucKrLength(Bytes at, Bytes end)
{
    return Within(*at, 0x81, 0xFE) && IsContinuation(at + 1, end, 0x41, 0xFE) ? 2 : 1;
}

// GBK and gb18030, whose four-byte characters have digits for their second
// and fourth bytes.
size_t GbLength(Bytes at, Bytes end)
{
    if (!Within(*at, 0x81, 0xFE)) return 1;
    if (IsContinuation(at + 1, end, 0x30, 0x39))
        return IsContinuation(at + 2, end, 0x81, 0xFE) && IsContinuation(at + 3, end, 0x30, 0x39) ? 4 : 1;
    return IsContinuation(at + 1, end, 0x40, 0x7E) || IsContinuation(at + 1, end, 0x80, 0xFE) ? 2 : 1;
}

size_t Big5Length(Bytes at, Bytes end)
{
    if (!Within(*at, 0x81, 0xFE)) return 1;
    return IsContinuation(at + 1, end, 0x40, 0x7E) || IsContinuation(at + 1, end, 0xA1, 0xFE) ? 2 : 1;
}

const uint16_t* SingleByteTable(const char* encoding)
{
    for (size_t i = 0; i < SingleByteEncodingCount; ++i)
        if (strcmp(SingleByteEncodings[i].Name, encoding) == 0) return SingleByteEncodings[i].High;
    return nullptr;
}

// Whether none of eight bytes lies beyond ASCII or is an '&' or an escape
// byte; texts are mostly plain ASCII, so they are read a word at a time.
bool EightPlainBytes(const char* at)
{
    constexpr uint64_t ones = 0x0101010101010101ULL;
    constexpr uint64_t highs = 0x8080808080808080ULL;
    uint64_t word;
    memcpy(&word, at, sizeof word);
    // A byte equal to `b` leaves a zero byte in word ^ (ones * b), which the
    // subtraction turns into a high bit.
    auto holds = [word](unsigned char b) {
        const uint64_t x = word ^ (ones * b);
        return ((x - ones) & ~x & highs) != 0;
    };
    return (word & highs) == 0 && !holds('&') && !holds(Escape);
}

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }

bool IsHex(char c) { return IsDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

uint32_t HexValue(char c) { return IsDecimal(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

bool StartsWith(const char* at, const char* end, const char* word)
{
    const size_t length = strlen(word);
    return static_cast<size_t>(end - at) >= length && memcmp(at, word, length) == 0;
}

}  // namespace

CDeckCharacters::CDeckCharacters(const char* encoding)
{
    if (encoding == nullptr) return;
    static const struct {
        const char* Name;
        EKind Kind;
    } kinds[] = {{"ISO-8859-1", EKind::Latin1}, {"Shift_JIS", EKind::ShiftJis},
                 {"EUC-JP", EKind::EucJp},      {"EUC-KR", EKind::EucKr},
                 {"GBK", EKind::Gb},            {"gb18030", EKind::Gb},
                 {"Big5", EKind::Big5},         {"ISO-2022-JP", EKind::Iso2022Jp}};
    for (const auto& known : kinds)
        if (strcmp(known.Name, encoding) == 0) Kind = known.Kind;
    High = SingleByteTable(encoding);
    if (High != nullptr) Kind = EKind::SingleByte;
}

size_t CDeckCharacters::PlainBytes(const char* at, const char* end) const
{
    if (Shift != EShift::Ascii) return 0;
    const char* p = at;
    while (end - p >= 8 && EightPlainBytes(p)) p += 8;
    while (p < end && static_cast<unsigned char>(*p) < 0x80 && *p != '&' && *p != Escape) ++p;
    return static_cast<size_t>(p - at);
}

CDeckCharacter CDeckCharacters::Read(const char* text, const char* stop)
{
    Bytes at = reinterpret_cast<Bytes>(text);
    Bytes end = reinterpret_cast<Bytes>(stop);
    if (Kind == EKind::Iso2022Jp && (*at == Escape || Shift != EShift::Ascii))
        return *at == Escape ? ReadEscape(at, end) : ReadShifted(at, end);
    if (*at < 0x80) return {*at, 1};
    switch (Kind) {
    case EKind::Utf8: return ReadUtf8(at, end);
    case EKind::Latin1: return {*at, 1};
    case EKind::SingleByte: {
        const uint32_t code = High[*at - 0x80];
        return {code != 0 ? code : UnknownCharacter, 1};
    }
    case EKind::ShiftJis: return {UnknownCharacter, ShiftJisLength(at, end)};
    case EKind::EucJp: return {UnknownCharacter, EucJpLength(at, end)};
    case EKind::EucKr: return {UnknownCharacter, EucKrLength(at, end)};
    case EKind::Gb: return {UnknownCharacter, GbLength(at, end)};
    case EKind::Big5: return {UnknownCharacter, Big5Length(at, end)};
    case EKind::Iso2022Jp: break;
    }
    return {UnknownCharacter, 1};
}

// ESC ( B and ESC ( J return to ASCII (JIS X 0201 Roman is read as ASCII),
// ESC ( I selects half-width katakana, ESC $ @ and ESC $ B the two-byte set.
// Any other escape is an unknown byte.
CDeckCharacter CDeckCharacters::ReadEscape(Bytes at, Bytes end)
{
    if (end - at < 3) return {UnknownCharacter, 1};
    if (at[1] == '(' && (at[2] == 'B' || at[2] == 'J')) {
        Shift = EShift::Ascii;
    } else if (at[1] == '(' && at[2] == 'I') {
        Shift = EShift::Katakana;
    } else if (at[1] == '$' && (at[2] == '@' || at[2] == 'B')) {
        Shift = EShift::DoubleBytes;
    } else {
        return {UnknownCharacter, 1};
    }
    return {ShiftSequence, 3};
}

// After a shift the bytes 0x21 to 0x7E are characters of that set (two a
// character in the two-byte set); other bytes, line ends and blanks, stand
// for themselves.
CDeckCharacter CDeckCharacters::ReadShifted(Bytes at, Bytes end)
{
    if (!Within(*at, 0x21, 0x7E)) return {*at, 1};
    if (Shift == EShift::Katakana) return {UnknownCharacter, 1};
    return {UnknownCharacter, IsContinuation(at + 1, end, 0x21, 0x7E) ? 2u : 1u};
}

CDeckCharacter ReadDeckReference(const char* at, const char* end)
{
    if (StartsWith(at, end, "&nbsp;")) return {0xA0, 6};
    if (StartsWith(at, end, "&shy;")) return {0xAD, 5};
    if (!StartsWith(at, end, "&#")) return {'&', 0};
    const bool hex = at + 2 < end && (at[2] == 'x' || at[2] == 'X');
    const char* p = at + (hex ? 3 : 2);
    const char* digits = p;
    uint32_t code = 0;
    for (; p < end && (hex ? IsHex(*p) : IsDecimal(*p)); ++p)
        code = std::min<uint32_t>(code * (hex ? 16 : 10) + HexValue(*p), 0x110000);
    if (p == digits || p == end || *p != ';') return {'&', 0};
    return {code <= 0x10FFFF ? code : UnknownCharacter, static_cast<size_t>(p + 1 - at)};
}
