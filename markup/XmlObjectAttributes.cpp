#include "markup/Xmlnode.h"

#include <cstring>

const char* CXmlObject::GetAttributeName(int i) const
{
    if (i < 0 || i >= GetAttributeCount()) return nullptr;
    return Attributes[static_cast<size_t>(i)].first.c_str();
}

const char* CXmlObject::GetAttributeValue(int i) const
{
    if (i < 0 || i >= GetAttributeCount()) return nullptr;
    return Attributes[static_cast<size_t>(i)].second.c_str();
}

int CXmlObject::FindAttribute(const char* name) const
{
    if (name == nullptr) return -1;
    for (size_t i = 0; i < Attributes.size(); ++i)
        if (EqualNoCase(Attributes[i].first.c_str(), name)) return static_cast<int>(i);
    return -1;
}

const char* CXmlObject::GetAttribute(const char* name) const
{
    int i = FindAttribute(name);
    return i < 0 ? nullptr : Attributes[static_cast<size_t>(i)].second.c_str();
}

void CXmlObject::SetAttribute(const char* name, const char* value)
{
    if (value == nullptr || name == nullptr) return;
    int i = FindAttribute(name);
    if (i < 0) {
        Attributes.emplace_back(name, value);
        return;
    }
    // Rebuilt in place: the entry takes the spelling of the name given now.
    auto& entry = Attributes[static_cast<size_t>(i)];
    std::string newValue = value;
    entry.first = name;
    entry.second = std::move(newValue);
}

void CXmlObject::KeepAttributes(const char* allowedList)
{
    for (size_t i = Attributes.size(); i-- > 0;)
        if (!IsNameInList(Attributes[i].first.c_str(), allowedList))
            Attributes.erase(Attributes.begin() + static_cast<long>(i));
}

void CXmlObject::RestrictAttribute(const char* name, const char* allowedList,
                                   const char* fallback, int addIfMissing)
{
    int i = FindAttribute(name);
    if (i < 0) {
        if (addIfMissing) SetAttribute(name, fallback);
        return;
    }
    std::string& value = LowerCaseAscii(Attributes[static_cast<size_t>(i)].second);
    // The allowed values are compared exactly: the lists hold lower-case words.
    for (const char* p = allowedList; p != nullptr && *p != '\0'; p += strlen(p) + 1)
        if (value == p) return;
    SetAttribute(name, fallback);
}

void CXmlObject::NormalizeBoolean(const char* name, const char* fallback)
{
    static const char booleans[] = "true\0false\0";
    RestrictAttribute(name, booleans, fallback, 0);
}

void CXmlObject::ClearAttributes()
{
    Attributes.clear();
    Attributes.shrink_to_fit();
}
