#include <cstring>
#include <string>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"
#include "platform/ByteScan.h"

namespace {

// The walk has escaped the text already; this pass adds the doubled '$'.
constexpr CEscapeRules TextWithDollars = {"&amp;", false, true, true};

// The bytes that escaping may change in an attribute value.
constexpr CByteSet AttributeTriggers = {'&', '<', '>', '"', '$'};

void EscapeAttributes(CXmlObject& record)
{
    std::string escaped;
    for (int i = 0; i < record.GetAttributeCount(); ++i) {
        const char* value = record.GetAttributeValue(i);
        const size_t length = record.GetAttributeValueLength(i);
        // Most values hold no byte that escaping changes.
        if (AttributeTriggers.FindFirst(value, 0, length) != length &&
            EscapeText(value, length, AttributeRules, escaped))
            record.SetAttributeValue(i, escaped.c_str());
    }
}

void EscapeDollars(CXmlObject& record)
{
    const char* text = record.GetText();
    const size_t length = static_cast<size_t>(record.GetTextLength());
    std::string escaped;
    if (memchr(text, '$', length) != nullptr && EscapeText(text, length, TextWithDollars, escaped))
        record.ReplaceText(escaped);
}

// XML allows no "--" inside a comment and no '-' at its end: a blank goes
// between two hyphens and after a last one.
void MakeCommentWellFormed(CXmlObject& record)
{
    const char* text = record.GetText();
    const size_t length = static_cast<size_t>(record.GetTextLength());
    const char* inside = text + 4;
    const size_t insideLength = length - 7;
    if (insideLength == 0) return;
    if (strstr(text + 4, "--") == text + length - 3 && inside[insideLength - 1] != '-') return;
    std::string fixed = "<!--";
    for (size_t i = 0; i < insideLength; ++i) {
        if (inside[i] == '-' && fixed.back() == '-' && fixed.size() > 4) fixed += ' ';
        fixed += inside[i];
    }
    if (fixed.back() == '-' && fixed.size() > 4) fixed += ' ';
    fixed += "-->";
    record.ReplaceText(fixed);
}

}  // namespace

// Declarations and processing instructions are written as they stand, and a
// dropped tag is not written at all.
bool WritesAttributes(const CXmlObject& record)
{
    const char* name = record.GetName();
    const char* text = record.GetText();
    return name != nullptr && name[0] != '\0' && text[1] != '!' && text[1] != '?';
}

void EscapeForDeck(CXmlNode* node)
{
    CXmlObject* record = node->GetObject();
    if (record == nullptr || record->GetText() == nullptr) return;
    if (record->IsComment()) {
        if (GetDocumentSettings(node)->DropComments == 0) MakeCommentWellFormed(*record);
    } else if (record->IsTag()) {
        if (WritesAttributes(*record)) EscapeAttributes(*record);
    } else {
        EscapeDollars(*record);
    }
}
