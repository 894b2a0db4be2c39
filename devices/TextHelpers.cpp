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

// Bytes up to 32 are blanks; a blank right after a written blank is dropped.
template <typename Text>
size_t CollapseInPlace(Text& text, size_t length)
{
    size_t out = 0;
    bool afterBlank = false;
    for (size_t in = 0; in < length; ++in) {
        const unsigned char c = static_cast<unsigned char>(text[in]);
        if (c > 32) {
            text[out++] = static_cast<char>(c);
            afterBlank = false;
        } else if (!afterBlank) {
            text[out++] = ' ';
            afterBlank = true;
        }
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
    text.resize(CollapseInPlace(text, text.size()));
}
