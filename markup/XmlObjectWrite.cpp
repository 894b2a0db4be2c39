#include "markup/Xmlnode.h"

#include <climits>
#include <cstring>

namespace {

// Raw form: text runs, comments, declarations and processing instructions.
bool WritesRawText(const CXmlObject& record)
{
    const char* text = record.GetText();
    return !record.IsTag() || text[1] == '?' || text[1] == '!';
}

bool EndsWithSlash(const CXmlObject& record)
{
    return record.GetText()[record.GetTextLength() - 2] == '/';
}

// Escaping and normalising can make a token longer than the page: a length
// past INT_MAX is held at INT_MAX, so no int-sized buffer is taken to be large enough.
int ClampedLength(size_t length)
{
    return length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

char* Append(char* out, const std::string& text)
{
    memcpy(out, text.data(), text.size());
    return out + text.size();
}

}  // namespace

int CXmlObject::GetWriteLength() const
{
    if (!HasText) return 0;
    if (WritesRawText(*this)) return ClampedLength(Text.size());
    size_t length = Name.size() + 2 + (IsEmptyOrEndTag() ? 1 : 0);
    for (const auto& attribute : Attributes)
        length += attribute.first.size() + attribute.second.size() + 4;
    return ClampedLength(length);
}

char* CXmlObject::Write(char* buffer) const
{
    char* out = buffer;
    if (!HasText) {
        *out = '\0';
        return out;
    }
    if (WritesRawText(*this)) {
        out = Append(out, Text);
        *out = '\0';
        return out;
    }
    const bool closes = IsEmptyOrEndTag();
    *out++ = '<';
    if (closes && !EndsWithSlash(*this)) *out++ = '/';
    out = Append(out, Name);
    for (const auto& attribute : Attributes) {
        *out++ = ' ';
        out = Append(out, attribute.first);
        *out++ = '=';
        *out++ = '"';
        out = Append(out, attribute.second);
        *out++ = '"';
    }
    if (closes && EndsWithSlash(*this)) *out++ = '/';
    *out++ = '>';
    *out = '\0';
    return out;
}
