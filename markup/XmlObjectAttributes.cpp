#include "markup/Xmlnode.h"

#include <cstring>

#include "markup/RecordLayout.h"

int CXmlObject::GetAttributeCount() const { return static_cast<int>(AttributeCount()); }

const char* CXmlObject::GetAttributeName(int i) const
{
    if (i < 0 || i >= GetAttributeCount()) return nullptr;
    return Bytes() + PieceStart(2 + 2 * static_cast<size_t>(i));
}

const char* CXmlObject::GetAttributeValue(int i) const
{
    if (i < 0 || i >= GetAttributeCount()) return nullptr;
    return Bytes() + PieceStart(3 + 2 * static_cast<size_t>(i));
}

size_t CXmlObject::GetAttributeValueLength(int i) const
{
    if (i < 0 || i >= GetAttributeCount()) return 0;
    return PieceLength(3 + 2 * static_cast<size_t>(i));
}

int CXmlObject::FindAttribute(const char* name) const
{
    if (name == nullptr) return -1;
    // Most names differ in their first byte, which spares the call.
    const unsigned char first = LowerAscii(name[0]);
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        const char* own = Bytes() + PieceStart(2 + 2 * static_cast<size_t>(i));
        if (LowerAscii(own[0]) == first && EqualNoCase(own, name)) return i;
    }
    return -1;
}

const char* CXmlObject::GetAttribute(const char* name) const
{
    return GetAttributeValue(FindAttribute(name));
}

// A found entry takes the spelling of the name given now.
void CXmlObject::SetAttribute(const char* name, const char* value)
{
    if (value == nullptr || name == nullptr) return;
    std::vector<CAttributePieces>& attributes = AttributePieces();
    const CAttributePieces entry = {{name, strlen(name)}, {value, strlen(value)}};
    const int i = FindAttribute(name);
    if (i < 0)
        attributes.push_back(entry);
    else
        attributes[static_cast<size_t>(i)] = entry;
    AssembleWithAttributes(attributes);
}

void CXmlObject::SetAttributeValue(int i, const char* value)
{
    if (value == nullptr || i < 0 || i >= GetAttributeCount()) return;
    std::vector<CAttributePieces>& attributes = AttributePieces();
    attributes[static_cast<size_t>(i)].Value = {value, strlen(value)};
    AssembleWithAttributes(attributes);
}

void CXmlObject::KeepAttributes(const char* allowedList)
{
    int first = 0;
    while (first < GetAttributeCount() && IsNameInList(GetAttributeName(first), allowedList))
        ++first;
    if (first == GetAttributeCount()) return;
    // Attribute `first` goes; the ones before it stay.
    std::vector<CAttributePieces>& attributes = AttributePieces();
    size_t kept = static_cast<size_t>(first);
    for (size_t i = kept + 1; i < attributes.size(); ++i)
        if (IsNameInList(attributes[i].Name.Data, allowedList)) attributes[kept++] = attributes[i];
    attributes.resize(kept);
    AssembleWithAttributes(attributes);
}

void CXmlObject::RestrictAttribute(const char* name, const char* allowedList,
                                   const char* fallback, int addIfMissing)
{
    const int i = FindAttribute(name);
    if (i < 0) {
        if (addIfMissing) SetAttribute(name, fallback);
        return;
    }
    const size_t piece = 3 + 2 * static_cast<size_t>(i);
    char* value = Bytes() + PieceStart(piece);
    LowerCaseAscii(value, PieceLength(piece));
    // The allowed values are compared exactly: the lists hold lower-case words.
    for (const char* p = allowedList; p != nullptr && *p != '\0'; p += strlen(p) + 1)
        if (strcmp(value, p) == 0) return;
    SetAttribute(name, fallback);
}

void CXmlObject::NormalizeBoolean(const char* name, const char* fallback)
{
    static const char booleans[] = "true\0false\0";
    RestrictAttribute(name, booleans, fallback, 0);
}

void CXmlObject::ClearAttributes()
{
    if (AttributeCount() > 0) AssembleWithAttributes({});
}
