#include "conversion/FragmentLinks.h"

#include <algorithm>
#include <new>
#include <vector>

#include "conversion/ConversionRules.h"
#include "markup/ElementNames.h"
#include "platform/NameTable.h"

namespace {

// The pre-pass has made every name lower case, so a test by name code, which
// ignores case, answers as a comparison of names would, and costs less on a
// walk that meets every node.
bool IsAnchor(const CXmlNode* node)
{
    static const CElementSet anchor("a\0");
    return anchor.Contains(node->GetObject());
}

bool IsCard(const CXmlNode* node)
{
    static const CElementSet card("card\0");
    return card.Contains(node->GetObject());
}

// The ids of the deck's cards, which are the only places a link can lead.
// They view the cards' records, which resolving the links leaves alone.
CNameTable CardIds(const CXmlNode* wml)
{
    std::vector<std::string_view> ids;
    for (const CXmlNode* child = wml->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling())
        if (child->IsOpenStartTag() && IsCard(child))
            if (const char* id = child->GetObject()->GetAttribute("id")) ids.emplace_back(id);
    CNameTable table(ids.size());
    for (std::string_view id : ids) table.Add(id, 1);
    return table;
}

const char* FirstCardId(const CXmlNode* wml)
{
    for (const CXmlNode* child = wml->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling())
        if (child->IsStartTag() && IsCard(child))
            return child->GetObject()->GetAttribute("id");
    return nullptr;
}

}  // namespace

bool IsFragmentLink(const CXmlNode* node)
{
    if (!node->IsStartTag() || !IsAnchor(node)) return false;
    const char* href = node->GetObject()->GetAttribute("href");
    return href != nullptr && href[0] == '#';
}

void CFragmentTargets::NoteTagBefore(const CXmlNode* node)
{
    if (!node->IsStartTag()) return;
    const CXmlObject* tag = node->GetObject();
    if (tag->GetAttributeCount() == 0) return;
    const int card = OpenCards.empty() ? 0 : OpenCards.back();
    if (const char* id = tag->GetAttribute("id")) NamedElements.Add(id, card);
    // As in a browser, a "name" makes a target only on an anchor: a form's
    // controls, often many of one name, are none.
    if (!IsAnchor(node)) return;
    if (const char* name = tag->GetAttribute("name")) NamedElements.Add(name, card);
    if (!SawFragmentLink) {
        const char* href = tag->GetAttribute("href");
        SawFragmentLink = href != nullptr && href[0] == '#';
    }
}

void CFragmentTargets::NoteTagAfter(const CXmlNode* node)
{
    if (!IsCard(node)) return;
    if (node->IsOpenStartTag()) {
        OpenCards.push_back(++CardsEntered);
        return;
    }
    const CXmlNode* start = node->GetPreviousSibling();
    if (node->IsStartTag() || OpenCards.empty() || start == nullptr) return;
    // Only the cards that hold a named element are ever looked up.
    const char* id = start->GetObject()->GetAttribute("id");
    if (id != nullptr && !NamedElements.empty()) IdsByCard.Add(id, OpenCards.back());
    OpenCards.pop_back();
}

// A fragment that names no element leads to the top of the page, as a
// browser reads "#" and "#top": the deck's first card. "" when there is no card.
std::string CFragmentTargets::CardIdOf(std::string_view fragment, const CNameTable& cardOfName,
                                       const CIdOfCard& idOfCard, const CXmlNode* wml) const
{
    const int named = cardOfName.Find(fragment);
    if (named > 0) {
        const char* id = idOfCard[static_cast<size_t>(named)];
        return id != nullptr ? id : "";
    }
    if (named == 0) {
        // Outside any card: only a deck that had no card gathered it into one.
        if (CardsEntered != 0) return "";
    } else if (!fragment.empty() && !EqualNoCase(std::string(fragment).c_str(), "top")) {
        return "";
    }
    const char* first = FirstCardId(wml);
    return first != nullptr ? first : "";
}

void CFragmentTargets::ResolveLinks(CXmlNode* wml, const std::vector<CXmlNode*>& links) const
{
    if (!SawFragmentLink) return;
    const CNameTable cards = CardIds(wml);
    // The first element of each name or id wins.
    CNameTable cardOfName(NamedElements.size());
    NamedElements.ForEach([&](const char* name, int card) { cardOfName.Add(name, card); });
    CIdOfCard idOfCard(static_cast<size_t>(CardsEntered) + 1, nullptr);
    IdsByCard.ForEach([&](const char* id, int card) { idOfCard[static_cast<size_t>(card)] = id; });
    for (CXmlNode* link : links) {
        CXmlObject* tag = link->GetObject();
        const std::string_view fragment = tag->GetAttribute("href") + 1;
        if (cards.Find(fragment) >= 0) continue;
        const std::string card = CardIdOf(fragment, cardOfName, idOfCard, wml);
        if (!card.empty() && cards.Find(card) >= 0) {
            tag->SetAttribute("href", ("#" + card).c_str());
            continue;
        }
        DropTag(link);
        if (link->GetNextSibling() != nullptr) DropTag(link->GetNextSibling());
    }
}
