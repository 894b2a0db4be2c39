// The deck's characters reduced to those the handset's font holds, the
// profile's REPERTOIRE (conversion-private).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "conversion/DeckCharacters.h"

class CXmlNode;
class CXmlObject;

// One run of consecutive characters that the same plain ASCII text stands
// for.
struct CApproximation {
    uint32_t First;
    uint32_t Last;
    const char* Text;
};

// The whole table, sorted by character (RepertoireTable.cpp).
extern const CApproximation Approximations[];
extern const size_t ApproximationCount;

// The plain ASCII text that stands for a character: the table's, or "?" for
// a character it lacks.
const char* ApproximationOf(uint32_t code);

// Rewrites the characters of a deck's texts and attribute values that lie
// beyond the repertoire. Each becomes its approximation, escaped like any
// text; in a link it becomes its UTF-8 bytes in %XX form instead, which lead
// to the same place. Characters within the repertoire keep their bytes and
// references as they are.
class CRepertoireReduction {
public:
    // The highest code point there is: the limit of ALL.
    static constexpr uint32_t AllCharacters = 0x10FFFF;

    // An ERepertoire, for a deck whose bytes are in `encoding` (a canonical
    // name; null reads UTF-8).
    CRepertoireReduction(int32_t repertoire, const char* encoding);
    // The repertoire of the document's profile, in the document's encoding.
    explicit CRepertoireReduction(const CXmlNode* root);

    // False for a profile that keeps every character: nothing is reduced.
    bool Active() const { return Limit != AllCharacters; }
    // Reduces a text run, or the attribute values of a tag that the deck
    // writes with them; comments and declarations stay as they are.
    void Reduce(CXmlNode* node);
    // Reduces `length` bytes of escaped deck text, of an attribute value when
    // `inAttribute` is set ('"' is then written "&quot;"), of a link when
    // `link` is. False, `out` unchanged, when nothing changes.
    bool ReduceText(const char* text, size_t length, bool inAttribute, bool link, std::string& out);

private:
    void ReduceAttributes(CXmlObject& record);
    // The first character from `p` that the repertoire lacks, read into
    // `character`; `end` when there is none.
    const char* NextBeyond(const char* p, const char* end, CDeckCharacter& character);
    void AppendReplacement(CDeckCharacter character, const char* at, bool inAttribute, bool link,
                           std::string& out) const;

    // The highest character the repertoire holds.
    uint32_t Limit;
    CDeckCharacters Characters;
};
