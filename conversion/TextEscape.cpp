#include <cstring>
#include <memory>
#include <string>

#include "conversion/Conversion.h"

namespace {

// An entity reference is recognised by nearness alone: '&', one to seven
// bytes, ';'. Returns the length of the run up to the ';', or 0.
size_t ReferenceLength(const char* amp)
{
    for (size_t j = 1; j <= 7 && amp[j] != '\0'; ++j)
        if (amp[j] == ';') return j + 1;
    return 0;
}

}  // namespace

char* EscapeText(const char* src, const char* triggers, const char* ampText)
{
    if (src == nullptr || triggers == nullptr || strpbrk(src, triggers) == nullptr)
        return nullptr;
    std::string out;
    out.reserve(strlen(src) + 16);
    for (const char* p = src; *p != '\0'; ++p) {
        if (*p == '&') {
            size_t run = ReferenceLength(p);
            if (run == 0) {
                out += ampText;
                continue;
            }
            for (size_t i = 0; i < run; ++i)
                out += (p[i] >= 'A' && p[i] <= 'Z') ? static_cast<char>(p[i] + 32) : p[i];
            p += run - 1;
        } else if (*p == '<') {
            out += "&lt;";
        } else if (*p == '>') {
            out += "&gt;";
        } else {
            out += *p;
        }
    }
    char* result = new char[out.size() + 1];
    memcpy(result, out.c_str(), out.size() + 1);
    return result;
}

std::string EscapedText(const char* text)
{
    const std::unique_ptr<char[]> escaped(EscapeText(text, "&<>", "&amp;"));
    return escaped != nullptr ? escaped.get() : (text != nullptr ? text : "");
}

std::string EscapedAttributeText(const char* text)
{
    const std::string value = EscapedText(text);
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}
