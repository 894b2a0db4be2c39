#include "markup/ElementNames.h"

#include <array>
#include <iterator>
#include <cstring>

#include "markup/Xmlnode.h"

namespace {

// Every element name that a rule, a content list or a name test of the
// converter mentions, then the other common HTML names, which the tree builder
// matches by code too. Code k is the name at index k - 1.
const char* const CodedNames[] = {
    "a", "access", "anchor", "b", "big", "blinking", "body", "br", "card", "center", "do", "em",
    "fieldset", "font", "form", "frame", "frameset", "go", "h1", "h2", "h3", "h4", "h5", "h6",
    "head", "hr", "html", "i", "img", "input", "marquee", "meta", "noop", "nowap", "onevent",
    "optgroup", "option", "p", "postfield", "prev", "refresh", "s", "script", "select",
    "setvar", "small", "strong", "sub", "sup", "table", "td", "template", "textarea", "th",
    "timer", "title", "tr", "tt", "u", "wbr", "wml",
    "abbr", "address", "area", "article", "aside", "base", "basefont", "blockquote", "button",
    "caption", "cite", "code", "col", "colgroup", "dd", "del", "dfn", "div", "dl", "dt",
    "embed", "figure", "footer", "header", "iframe", "ins", "kbd", "label", "li", "link",
    "main", "map", "nav", "nobr", "noscript", "object", "ol", "param", "pre", "samp", "section",
    "span", "strike", "style", "tbody", "tfoot", "thead", "ul", "var",
};

static_assert(std::size(CodedNames) < ElementCodeBound, "every code stays below the bound");

constexpr size_t LongestName = 10;
constexpr size_t SlotCount = 512;

unsigned char Folded(char b)
{
    const unsigned char c = static_cast<unsigned char>(b);
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// First byte, last byte and length tell the coded names nearly apart.
size_t SlotOf(const char* name, size_t length)
{
    return (Folded(name[0]) * 47u + Folded(name[length - 1]) * 23u + length * 19u) % SlotCount;
}

bool SameFolded(const char* name, size_t length, const char* lowerName)
{
    for (size_t i = 0; i < length; ++i)
        if (Folded(name[i]) != static_cast<unsigned char>(lowerName[i])) return false;
    return lowerName[length] == '\0';
}

// Open addressing over a table built on first use; a slot holds a code.
const std::array<uint8_t, SlotCount>& CodeTable()
{
    static const std::array<uint8_t, SlotCount> table = [] {
        std::array<uint8_t, SlotCount> slots{};
        uint8_t code = 0;
        for (const char* name : CodedNames) {
            ++code;
            size_t slot = SlotOf(name, strlen(name));
            while (slots[slot] != 0) slot = (slot + 1) % SlotCount;
            slots[slot] = code;
        }
        return slots;
    }();
    return table;
}

}  // namespace

uint8_t ElementNameCode(const char* name, size_t length)
{
    if (name == nullptr || length == 0 || length > LongestName) return 0;
    const auto& table = CodeTable();
    for (size_t slot = SlotOf(name, length);; slot = (slot + 1) % SlotCount) {
        const uint8_t code = table[slot];
        if (code == 0) return 0;
        if (SameFolded(name, length, CodedNames[code - 1])) return code;
    }
}

uint8_t ElementNameCode(const char* name)
{
    return name == nullptr ? 0 : ElementNameCode(name, strlen(name));
}

CElementSet::CElementSet(const char* list) : List(list)
{
    for (const char* name = list; *name != '\0'; name += strlen(name) + 1) {
        const uint8_t code = ElementNameCode(name);
        if (code == 0)
            HasUncodedNames = true;
        else
            Codes.set(code);
    }
}

bool CElementSet::Contains(const CXmlObject* record) const
{
    if (record == nullptr) return false;
    if (HasUncodedNames) return IsNameInList(record->GetName(), List);
    return Codes.test(record->GetNameCode());
}
