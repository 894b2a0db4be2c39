// Text helpers every layer uses: name lists, blanks, and ASCII case.
#pragma once

#include <cstddef>
#include <string>

// Name lists: NUL-terminated names one after the other, ended by an empty name.
bool IsNameInList(const char* text, const char* list);
// True when no byte (read unsigned) is above 32; the empty text is blank.
bool IsBlank(const char* text);
// In place: bytes below 32 become blanks, then runs of blanks shrink to one.
void CollapseWhitespace(char* text);
void CollapseWhitespace(std::string& text);
// The same for `length` bytes without a NUL; returns the new length.
size_t CollapseWhitespace(char* text, size_t length);
// The same, one byte at a time: the twin of the fast paths above.
size_t CollapseWhitespacePlain(char* text, size_t length);
// ASCII case changes; other bytes stay.
inline unsigned char LowerAscii(char b)
{
    const unsigned char c = static_cast<unsigned char>(b);
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}
inline char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
bool HasUpperCaseAscii(const char* text, size_t length);
// Equality of `length` bytes, for the short texts that names are, where a
// loop costs less than a call of the library's compare.
inline bool EqualShortBytes(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (a[i] != b[i]) return false;
    return true;
}
// In place.
void LowerCaseAscii(char* text, size_t length);
std::string& LowerCaseAscii(std::string& text);
void UpperCaseAscii(char* text);
std::string& UpperCaseAscii(std::string& text);
// A copy of the text on the heap, for delete[].
char* CopyHeapText(const char* text);
// Case-insensitive equality of two texts (ASCII letters only).
bool EqualNoCase(const char* a, const char* b);
