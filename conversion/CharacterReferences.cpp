#include "conversion/CharacterReferences.h"

#include <algorithm>
#include <cstring>

#include "markup/Xmlnode.h"

namespace {

// The names that WML predefines; pages write them in any case, and the deck
// writes them in lower case.
const char WmlNames[] = "amp\0lt\0gt\0quot\0apos\0nbsp\0shy\0";

// No name in the table is longer; a legacy name is at most six bytes.
constexpr size_t LongestName = 32;
constexpr size_t LongestLegacyName = 6;

bool IsAsciiAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Tab, line feed, carriage return and everything from U+0020 on, except the
// surrogates, U+FFFE and U+FFFF, up to U+10FFFF.
bool XmlAllows(uint32_t code)
{
    if (code < 0x20) return code == 0x9 || code == 0xA || code == 0xD;
    if (code >= 0xD800 && code <= 0xDFFF) return false;
    return code != 0xFFFE && code != 0xFFFF && code <= 0x10FFFF;
}

// A '$' is written as itself, so that the deck's '$' rule doubles it: the
// gateway reads references before it looks for variables, so "&#36;" would
// begin one.
void AppendNumeric(uint32_t code, std::string& out)
{
    if (code == '$') {
        out += '$';
        return;
    }
    out += "&#";
    out += std::to_string(code);
    out += ';';
}

void AppendLowerCase(const char* from, size_t length, std::string& out)
{
    for (size_t i = 0; i < length; ++i) out += static_cast<char>(LowerAscii(from[i]));
}

// Orders a table name against the `length` bytes at `key`.
int CompareName(const char* name, const char* key, size_t length)
{
    const int order = strncmp(name, key, length);
    if (order != 0) return order;
    return name[length] == '\0' ? 0 : 1;
}

// The table entry named exactly by the `length` bytes at `name`, or null.
const CNamedReference* FindName(const char* name, size_t length)
{
    const CNamedReference* end = NamedReferences + NamedReferenceCount;
    const CNamedReference* found = std::lower_bound(
        NamedReferences, end, name, [length](const CNamedReference& entry, const char* key) {
            return CompareName(entry.Name, key, length) < 0;
        });
    return found != end && CompareName(found->Name, name, length) == 0 ? found : nullptr;
}

bool IsWmlName(const char* name, size_t length)
{
    for (const char* p = WmlNames; *p != '\0'; p += strlen(p) + 1) {
        if (strlen(p) != length) continue;
        size_t i = 0;
        while (i < length && LowerAscii(name[i]) == static_cast<unsigned char>(p[i])) ++i;
        if (i == length) return true;
    }
    return false;
}

// WML's own names in lower case, any other as numeric references.
void AppendNamed(const char* name, size_t length, const CNamedReference* entry, std::string& out)
{
    if (IsWmlName(name, length)) {
        out += '&';
        AppendLowerCase(name, length, out);
        out += ';';
        return;
    }
    AppendNumeric(entry->First, out);
    if (entry->Second != 0) AppendNumeric(entry->Second, out);
}

// "&#digits;" or "&#xhex;": the ';' is required.
size_t AppendNumericReference(const char* at, const char* end, std::string& out)
{
    const bool hex = at + 2 < end && (at[2] == 'x' || at[2] == 'X');
    const char* digits = at + (hex ? 3 : 2);
    const char* p = digits;
    uint32_t code = 0;
    for (; p < end && (hex ? IsHexDigit(*p) : (*p >= '0' && *p <= '9')); ++p) {
        const uint32_t digit = *p <= '9' ? *p - '0' : (LowerAscii(*p) - 'a' + 10);
        // Past U+10FFFF the value no longer matters: it stays out of range.
        code = std::min<uint32_t>(code * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (p == digits || p == end || *p != ';') return 0;
    const size_t length = static_cast<size_t>(p + 1 - at);
    if (!XmlAllows(code))
        AppendNumeric(0xFFFD, out);
    else if (code == '$')
        AppendNumeric(code, out);
    else
        AppendLowerCase(at, length, out);
    return length;
}

}  // namespace

size_t AppendReference(const char* at, const char* end, bool inAttribute, std::string& out)
{
    if (at + 1 < end && at[1] == '#') return AppendNumericReference(at, end, out);
    const char* name = at + 1;
    size_t run = 0;
    while (name + run < end && run <= LongestName && IsAsciiAlphanumeric(name[run])) ++run;
    if (run == 0) return 0;
    if (name + run < end && name[run] == ';') {
        const CNamedReference* entry = FindName(name, run);
        if (entry != nullptr || IsWmlName(name, run)) {
            AppendNamed(name, run, entry, out);
            return run + 2;
        }
    }
    // Without its ';' only a legacy name counts, the longest that begins the run.
    for (size_t length = std::min(run, LongestLegacyName); length >= 2; --length) {
        const CNamedReference* entry = FindName(name, length);
        if (entry == nullptr || entry->Legacy == 0) continue;
        const char next = name + length < end ? name[length] : '\0';
        if (inAttribute && (next == '=' || IsAsciiAlphanumeric(next))) return 0;
        AppendNamed(name, length, entry, out);
        return length + 1;
    }
    return 0;
}
