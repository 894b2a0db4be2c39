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
    "details", "dialog", "dir", "figcaption", "hgroup", "legend", "menu", "summary",
};

static_assert(std::size(CodedNames) < ElementCodeBound, "every code stays below the bound");

constexpr size_t LongestName = 10;
constexpr size_t SlotCount = 512;

// First byte, last byte and length tell the coded names nearly apart.
size_t SlotOf(const char* name, size_t length)
{
    const unsigned first = LowerAscii(name[0]);
    const unsigned last = LowerAscii(name[length - 1]);
    return (first * 47u + last * 23u + length * 19u) % SlotCount;
}

// A slot of the look-up table holds its name, so a look-up reads one slot.
struct CSlot {
    char Name[LongestName];
    uint8_t Length;
    uint8_t Code;
};

bool Matches(const CSlot& slot, const char* name, size_t length)
{
    if (slot.Length != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (LowerAscii(name[i]) != static_cast<unsigned char>(slot.Name[i])) return false;
    return true;
}

// Open addressing over a table built on first use; an empty slot has code 0.
const std::array<CSlot, SlotCount>& CodeTable()
{
    static const std::array<CSlot, SlotCount> table = [] {
        std::array<CSlot, SlotCount> slots{};
        uint8_t code = 0;
        for (const char* name : CodedNames) {
            ++code;
            const size_t length = strlen(name);
            size_t slot = SlotOf(name, length);
            while (slots[slot].Code != 0) slot = (slot + 1) % SlotCount;
            memcpy(slots[slot].Name, name, length);
            slots[slot].Length = static_cast<uint8_t>(length);
            slots[slot].Code = code;
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
        const CSlot& entry = table[slot];
        if (entry.Code == 0) return 0;
        if (Matches(entry, name, length)) return entry.Code;
    }
}

const char* ElementNameOfCode(uint8_t code) { return CodedNames[code - 1]; }

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

bool CElementSet::ContainsName(const char* name) const
{
    if (name == nullptr) return false;
    if (HasUncodedNames) return IsNameInList(name, List);
    return Codes.test(ElementNameCode(name));
}
