#include <cstring>
#include <string>

#include "markup/Xmlnode.h"

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

// Bytes up to 32 are blanks; each run of blanks becomes one space. Every byte
// is stored and the output position advances unless the byte continues a
// run: no branch depends on the text, which mixes words and blanks at random.
size_t CollapseInPlace(char* text, size_t length)
{
    size_t out = 0;
    bool afterBlank = false;
    for (size_t in = 0; in < length; ++in) {
        const unsigned char c = static_cast<unsigned char>(text[in]);
        const bool blank = c <= 32;
        const unsigned char keep = static_cast<unsigned char>(blank - 1);
        text[out] = static_cast<char>((c & keep) | (' ' & ~keep));
        out += !(blank && afterBlank);
        afterBlank = blank;
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
