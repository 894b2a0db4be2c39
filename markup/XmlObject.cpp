#include "markup/Xmlnode.h"

#include <cstring>

namespace {

// The name and attribute parse compare bytes as signed values, so bytes 128
// to 255 count as less than 32: they end names and unquoted values.
inline int Signed(char b) { return static_cast<signed char>(b); }

bool NameStartByte(char b) { return Signed(b) > 32 && Signed(b) > '/'; }

bool NameEndByte(char b) { return Signed(b) <= 32 || b == '>' || b == '/' || b == '-'; }

}  // namespace

void CXmlObject::SetText(const char* text, int length)
{
    NoteChange();
    Attributes.clear();
    size_t size = 0;
    if (text != nullptr && length > 0) {
        const void* nul = memchr(text, '\0', static_cast<size_t>(length));
        size = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text)
                   : static_cast<size_t>(length);
    }
    Text.assign(text != nullptr ? text : "", size);
    HasText = true;
    ClassifyText();
    Name.clear();
    HasName = false;
    if (IsTag() || GetMarkerKind() != 0) ParseNameAndAttributes();
}

void CXmlObject::ReplaceText(std::string text)
{
    NoteChange();
    Text = std::move(text);
    HasText = true;
    ClassifyText();
}

// The parent of the node holding this record judges its children by their
// records, so it learns of every change.
void CXmlObject::NoteChange()
{
    if (Owner != nullptr) Owner->NoteRecordChanged();
}

void CXmlObject::TakeFrom(CXmlObject& other)
{
    NoteChange();
    Text.swap(other.Text);
    Name.swap(other.Name);
    Attributes.swap(other.Attributes);
    HasText = other.HasText;
    HasName = other.HasName;
    Kind = other.Kind;
    other.Text.clear();
    other.Name.clear();
    other.Attributes.clear();
    other.HasText = false;
    other.HasName = false;
    other.Kind = 0;
}

void CXmlObject::ParseNameAndAttributes()
{
    HasName = true;
    const size_t length = Text.size();
    size_t start = 1;
    while (start < length && !NameStartByte(Text[start])) ++start;
    if (start >= length) return;
    size_t end = start + 1;
    while (end < length && !NameEndByte(Text[end])) ++end;
    if (end >= length) return;
    Name.assign(Text, start, end - start);
    ParseAttributes(end);
}

// Scans from the name's end to the byte before the closing '>'. A single
// quote is an ordinary byte here: [a='x'] gives a="" and x'=""; pages depend
// on it, as on blanks around '=' splitting an attribute.
void CXmlObject::ParseAttributes(size_t from)
{
    const std::string& t = Text;
    if (t.size() < 2) return;
    const size_t last = t.size() - 1;
    const size_t npos = std::string::npos;
    bool inQuote = false;
    size_t nameStart = npos, nameEnd = npos, valueStart = npos, valueEnd = npos;
    bool complete = false;
    for (size_t k = from; k < last; ++k) {
        const char b = t[k];
        if (b == '"') inQuote = !inQuote;
        if (!inQuote) {
            if (nameStart == npos) {
                if (Signed(b) > 32 && b != '/' && b != '-') nameStart = k;
            } else if (nameEnd == npos) {
                if (Signed(b) <= 32) {
                    nameEnd = k;
                    complete = true;
                } else if (b == '=') {
                    nameEnd = k;
                    valueStart = k + 1;
                }
            } else if (valueStart != npos && valueStart <= k) {
                if (Signed(b) <= 32 || (Signed(b) <= '/' && b != '.')) {
                    valueEnd = (b == '"') ? k + 1 : k;
                    complete = true;
                }
            }
        }
        if (nameStart != npos && (complete || k + 2 == t.size())) {
            if (nameEnd == npos) nameEnd = k + 1;
            std::string value;
            if (valueStart != npos) {
                if (valueEnd == npos) valueEnd = k + 1;
                if (valueEnd > valueStart) value.assign(t, valueStart, valueEnd - valueStart);
                if (!value.empty() && value[0] == '"') {
                    value.erase(0, 1);
                    if (!value.empty()) value.pop_back();
                }
            }
            Attributes.emplace_back(t.substr(nameStart, nameEnd - nameStart), std::move(value));
            nameStart = nameEnd = valueStart = valueEnd = npos;
            complete = false;
        }
    }
}

CXmlObject* CXmlObject::Clone() const
{
    CXmlObject* copy = new CXmlObject;
    if (HasText) copy->SetText(Text.data(), static_cast<int>(Text.size()));
    return copy;
}

CXmlObject* CXmlObject::CreateEndTag() const
{
    std::string text = "</";
    text += Name;
    text += '>';
    CXmlObject* end = new CXmlObject;
    end->SetText(text.data(), static_cast<int>(text.size()));
    return end;
}

void CXmlObject::MakeEmptyElement()
{
    if (Text.empty()) return;
    NoteChange();
    Text.back() = '/';
    Text += '>';
    ClassifyText();
}

void CXmlObject::SetName(const char* name)
{
    NoteChange();
    if (name == nullptr) name = "";
    if (name[0] == '/') ++name;
    Name = name;
    HasName = true;
}

void CXmlObject::LowerCaseNames()
{
    NoteChange();
    LowerCaseAscii(Name);
    for (auto& attribute : Attributes) LowerCaseAscii(attribute.first);
}
