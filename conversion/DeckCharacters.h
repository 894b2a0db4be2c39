// The characters that a deck's escaped text holds: its bytes read in the
// encoding the page was read in, and the references its escaping wrote
// (conversion-private).
#pragma once

#include <cstddef>
#include <cstdint>

// The characters of the bytes 0x80 to 0xFF of one single-byte encoding, 0
// for a byte that is none.
struct CSingleByteEncoding {
    const char* Name;
    uint16_t High[128];
};

// Every single-byte encoding a deck can be in besides ISO-8859-1, by
// canonical name (SingleByteEncodings.cpp).
extern const CSingleByteEncoding SingleByteEncodings[];
extern const size_t SingleByteEncodingCount;

// The code of a character whose bytes do not say which it is: the encodings
// of several bytes a character are read for their lengths only.
constexpr uint32_t UnknownCharacter = 0xFFFFFFFF;
// The code of an escape sequence of ISO-2022-JP, which switches character
// sets and is no character.
constexpr uint32_t ShiftSequence = 0xFFFFFFFE;

struct CDeckCharacter {
    uint32_t Code;
    // The bytes it takes; 0 for an '&' that begins no reference.
    size_t Length;
};

// Reads a deck's text character by character, in its encoding.
class CDeckCharacters {
public:
    // `encoding` is a canonical name as the page was read in; null or a name
    // without a table of its own reads UTF-8.
    explicit CDeckCharacters(const char* encoding);

    // A text begins in ASCII, also in ISO-2022-JP.
    void StartText() { Shift = EShift::Ascii; }
    // How many bytes from `at` stand for themselves, ASCII characters other
    // than '&'.
    size_t PlainBytes(const char* at, const char* end) const;
    // The character that begins at `at`, where PlainBytes stopped: an '&' is
    // read as the character '&'.
    CDeckCharacter Read(const char* at, const char* end);

private:
    enum class EKind { Utf8, Latin1, SingleByte, ShiftJis, EucJp, EucKr, Gb, Big5, Iso2022Jp };
    // ISO-2022-JP's character set since its last escape sequence.
    enum class EShift { Ascii, Katakana, DoubleBytes };

    CDeckCharacter ReadShifted(const unsigned char* at, const unsigned char* end);
    CDeckCharacter ReadEscape(const unsigned char* at, const unsigned char* end);

    EKind Kind = EKind::Utf8;
    const uint16_t* High = nullptr;
    EShift Shift = EShift::Ascii;
};

// The character of a reference that the deck's escaping writes at the '&'
// of `at`: "&#digits;", "&#xhex;", "&nbsp;" or "&shy;". Length 0 for any
// other '&', WML's references of ASCII characters included.
CDeckCharacter ReadDeckReference(const char* at, const char* end);
