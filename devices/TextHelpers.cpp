#include <cstdint>
#include <cstring>
#include <string>

#include "markup/Xmlnode.h"

bool HasUpperCaseAscii(const char* text, size_t length)
{
    for (const char* end = text + length; text != end; ++text)
        if (*text >= 'A' && *text <= 'Z') return true;
    return false;
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

std::string& UpperCaseAscii(std::string& text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return text;
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

bool IsNameInList(const char* text, const char* list)
{
    if (text == nullptr || list == nullptr) return false;
    for (const char* name = list; *name != '\0'; name += strlen(name) + 1)
        if (EqualNoCase(text, name)) return true;
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

// True when one of the eight bytes in `word` is 32 or less (a blank).
bool HasBlankByte(uint64_t word)
{
    const uint64_t ones = 0x0101010101010101ull;
    return ((word - ones * 33) & ~word & ones * 0x80) != 0;
}

// The first blank at or after `from`, or `length`; eight bytes at a time
// while none of them is one.
size_t NextBlank(const char* text, size_t from, size_t length)
{
    for (uint64_t word; from + 8 <= length; from += 8) {
        memcpy(&word, text + from, 8);
        if (HasBlankByte(word)) break;
    }
    while (from < length && static_cast<unsigned char>(text[from]) > 32) ++from;
    return from;
}

// Bytes up to 32 are blanks; each run of blanks becomes one space. Runs of
// other bytes move down only once an earlier run has shrunk.
size_t CollapseInPlace(char* text, size_t length)
{
    size_t out = 0;
    for (size_t in = 0; in < length;) {
        const size_t blank = NextBlank(text, in, length);
        if (out != in) memmove(text + out, text + in, blank - in);
        out += blank - in;
        if (blank == length) break;
        text[out++] = ' ';
        for (in = blank + 1; in < length && static_cast<unsigned char>(text[in]) <= 32;) ++in;
    }
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
