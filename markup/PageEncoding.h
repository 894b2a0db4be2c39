// The character set of a page's bytes, found as a browser finds it, and the
// bytes the tree builder reads from it.
#pragma once

#include <cstddef>
#include <string>

struct CPageBytes {
    const char* Text = nullptr;
    int Length = 0;
    // Name of the encoding the bytes are in (a static text): the canonical
    // name of a label, or ISO-8859-1 for the bytes of a windows-1252 page.
    const char* Encoding = nullptr;
    // True when the deck must name that encoding: it is neither UTF-8 nor
    // read the same as US-ASCII, because the page holds bytes beyond it.
    bool NameEncoding = false;
    // Holds the bytes when they had to change; Text then points into it.
    std::string Changed;
};

// Finds the page's encoding: a byte-order mark, else the XML declaration,
// else a meta element's charset, else UTF-8 when the bytes are valid UTF-8
// and windows-1252 when not. A UTF-16 page is turned into UTF-8. In UTF-8 each
// invalid sequence becomes U+FFFD. A windows-1252 page is given as
// ISO-8859-1: its bytes 0x80 to 0x9F become character references. In every
// encoding the control bytes that XML forbids are dropped. The bytes are
// otherwise left as they are.
void ReadPageBytes(const char* page, int length, CPageBytes& bytes);

// The canonical name of an encoding label, compared without regard to case
// and surrounding blanks; null for a label no encoding has.
const char* CanonicalEncodingName(const char* label, size_t length);

// Where the value of the encoding pseudo-attribute of an XML declaration
// lies: [begin, end) within the text. False when the declaration has none.
bool FindDeclaredEncoding(const char* text, size_t length, size_t& begin, size_t& end);
