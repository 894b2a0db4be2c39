#include "markup/Xmlnode.h"

#include <climits>
#include <cstring>

#include "markup/RecordLayout.h"

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

char* Append(char* out, const char* text, size_t length)
{
    CopyShortBytes(out, text, length);
    return out + length;
}

}  // namespace

int CXmlObject::GetWriteLength() const
{
    if (!HasFlag(HasTextFlag)) return 0;
    if (WritesRawText(*this)) return GetTextLength();
    size_t length = PieceLength(1) + 2 + (IsEmptyOrEndTag() ? 1 : 0);
    for (size_t i = 0; i < AttributeCount(); ++i)
        length += PieceLength(2 + 2 * i) + PieceLength(3 + 2 * i) + 4;
    return ClampedLength(length);
}

char* CXmlObject::Write(char* buffer) const
{
    char* out = buffer;
    if (!HasFlag(HasTextFlag)) {
        *out = '\0';
        return out;
    }
    if (WritesRawText(*this)) {
        out = Append(out, GetText(), static_cast<size_t>(GetTextLength()));
        *out = '\0';
        return out;
    }
    const bool closes = IsEmptyOrEndTag();
    *out++ = '<';
    if (closes && !EndsWithSlash(*this)) *out++ = '/';
    out = Append(out, Bytes() + PieceStart(1), PieceLength(1));
    for (size_t i = 0; i < AttributeCount(); ++i) {
        *out++ = ' ';
        out = Append(out, Bytes() + PieceStart(2 + 2 * i), PieceLength(2 + 2 * i));
        *out++ = '=';
        *out++ = '"';
        out = Append(out, Bytes() + PieceStart(3 + 2 * i), PieceLength(3 + 2 * i));
        *out++ = '"';
    }
    if (closes && EndsWithSlash(*this)) *out++ = '/';
    *out++ = '>';
    *out = '\0';
    return out;
}
