#include "conversion/Repertoire.h"

#include <algorithm>
#include <cstring>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

namespace {

// The attributes of WML 1.1 whose values are links.
const char LinkAttributes[] = "href\0src\0onpick\0ontimer\0onenterforward\0onenterbackward\0";

bool IsLinkAttribute(const char* name)
{
    for (const char* p = LinkAttributes; *p != '\0'; p += strlen(p) + 1)
        if (EqualNoCase(name, p)) return true;
    return false;
}

uint32_t LimitOf(int32_t repertoire)
{
    if (repertoire == RepertoireAscii) return 0x7F;
    if (repertoire == RepertoireLatin1) return 0xFF;
    return CRepertoireReduction::AllCharacters;
}

const char* EncodingOf(const CXmlNode* root)
{
    const CWorkingVariables* state = root->GetDocumentState();
    return state != nullptr ? state->Encoding : nullptr;
}

// An approximation is text like any other: its '&', '<' and '>', and in an
// attribute its '"', become references, and its '$' is doubled, as the
// deck's escaping has doubled the others already.
void AppendEscaped(const char* text, bool inAttribute, std::string& out)
{
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '$')
            out += "$$";
        else if (*p == '&')
            out += "&amp;";
        else if (*p == '<')
            out += "&lt;";
        else if (*p == '>')
            out += "&gt;";
        else if (*p == '"' && inAttribute)
            out += "&quot;";
        else
            out += *p;
    }
}

void AppendPercentByte(unsigned char byte, std::string& out)
{
    static const char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

void AppendPercentUtf8(uint32_t code, std::string& out)
{
    if (code < 0x800) {
        AppendPercentByte(static_cast<unsigned char>(0xC0 | code >> 6), out);
    } else if (code < 0x10000) {
        AppendPercentByte(static_cast<unsigned char>(0xE0 | code >> 12), out);
        AppendPercentByte(static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F)), out);
    } else {
        AppendPercentByte(static_cast<unsigned char>(0xF0 | code >> 18), out);
        AppendPercentByte(static_cast<unsigned char>(0x80 | (code >> 12 & 0x3F)), out);
        AppendPercentByte(static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F)), out);
    }
    AppendPercentByte(static_cast<unsigned char>(0x80 | (code & 0x3F)), out);
}

}  // namespace

const char* ApproximationOf(uint32_t code)
{
    const CApproximation* end = Approximations + ApproximationCount;
    const CApproximation* found = std::upper_bound(
        Approximations, end, code,
        [](uint32_t key, const CApproximation& entry) { return key < entry.First; });
    if (found == Approximations || code > found[-1].Last) return "?";
    return found[-1].Text;
}

CRepertoireReduction::CRepertoireReduction(int32_t repertoire, const char* encoding)
    : Limit(LimitOf(repertoire)), Characters(Limit != AllCharacters ? encoding : nullptr)
{
}

CRepertoireReduction::CRepertoireReduction(const CXmlNode* root)
    : CRepertoireReduction(GetDocumentSettings(root)->Repertoire, EncodingOf(root))
{
}

void CRepertoireReduction::Reduce(CXmlNode* node)
{
    CXmlObject* record = node->GetObject();
    if (record == nullptr || record->GetText() == nullptr || record->IsComment()) return;
    if (record->IsTag()) {
        if (WritesAttributes(*record)) ReduceAttributes(*record);
        return;
    }
    std::string reduced;
    const size_t length = static_cast<size_t>(record->GetTextLength());
    if (ReduceText(record->GetText(), length, false, false, reduced)) record->ReplaceText(reduced);
}

// Most values hold nothing beyond the repertoire: only the others have their
// attribute's name looked at.
void CRepertoireReduction::ReduceAttributes(CXmlObject& record)
{
    std::string reduced;
    for (int i = 0; i < record.GetAttributeCount(); ++i) {
        const char* value = record.GetAttributeValue(i);
        const char* end = value + record.GetAttributeValueLength(i);
        CDeckCharacter character{};
        Characters.StartText();
        if (NextBeyond(value, end, character) == end) continue;
        const bool link = IsLinkAttribute(record.GetAttributeName(i));
        if (ReduceText(value, static_cast<size_t>(end - value), true, link, reduced))
            record.SetAttributeValue(i, reduced.c_str());
    }
}

bool CRepertoireReduction::ReduceText(const char* text, size_t length, bool inAttribute, bool link,
                                      std::string& out)
{
    Characters.StartText();
    const char* end = text + length;
    CDeckCharacter character{};
    const char* p = NextBeyond(text, end, character);
    // Most texts hold nothing beyond the repertoire: they are only read.
    if (p == end) return false;
    std::string reduced(text, p);
    while (p < end) {
        AppendReplacement(character, p, inAttribute, link, reduced);
        p += character.Length;
        const char* next = NextBeyond(p, end, character);
        reduced.append(p, next);
        p = next;
    }
    out.swap(reduced);
    return true;
}

const char* CRepertoireReduction::NextBeyond(const char* p, const char* end, CDeckCharacter& character)
{
    while ((p += Characters.PlainBytes(p, end)) < end) {
        character = Characters.Read(p, end);
        if (character.Code == '&') character = ReadDeckReference(p, end);
        if (character.Code == ShiftSequence || (character.Length != 0 && character.Code > Limit)) return p;
        p += character.Length != 0 ? character.Length : 1;
    }
    return end;
}

// A shift sequence is left out: every character it selects is beyond the
// repertoire, so the text stays in ASCII.
void CRepertoireReduction::AppendReplacement(CDeckCharacter character, const char* at,
                                             bool inAttribute, bool link, std::string& out) const
{
    if (character.Code == ShiftSequence) return;
    if (!link) {
        AppendEscaped(ApproximationOf(character.Code), inAttribute, out);
    } else if (character.Code != UnknownCharacter) {
        AppendPercentUtf8(character.Code, out);
    } else {
        for (size_t i = 0; i < character.Length; ++i)
            AppendPercentByte(static_cast<unsigned char>(at[i]), out);
    }
}
