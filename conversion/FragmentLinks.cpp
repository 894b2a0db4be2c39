#include "conversion/FragmentLinks.h"

#include <algorithm>
#include <new>
#include <unordered_set>
#include <vector>

#include "conversion/ConversionRules.h"
#include "markup/WorkStack.h"

namespace {

bool IsFragmentLink(const CXmlNode* node)
{
    if (!node->IsStartTag() || !node->IsNamed("a")) return false;
    const char* href = node->GetObject()->GetAttribute("href");
    return href != nullptr && href[0] == '#';
}

// The ids of the deck's cards, which are the only places a link can lead.
std::unordered_set<std::string> CardIds(const CXmlNode* wml)
{
    std::unordered_set<std::string> ids;
    for (const CXmlNode* child = wml->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling())
        if (child->IsOpenStartTag() && child->IsNamed("card"))
            if (const char* id = child->GetObject()->GetAttribute("id")) ids.insert(id);
    return ids;
}

const char* FirstCardId(const CXmlNode* wml)
{
    for (const CXmlNode* child = wml->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling())
        if (child->IsStartTag() && child->IsNamed("card"))
            return child->GetObject()->GetAttribute("id");
    return nullptr;
}

// The links of the deck, in document order, without recursion.
std::vector<CXmlNode*> FragmentLinksUnder(CXmlNode* top)
{
    std::vector<CXmlNode*> links;
    CWorkStack<CXmlNode*> due;
    due.push_back(top);
    while (!due.empty()) {
        CXmlNode* node = due.back();
        due.pop_back();
        if (IsFragmentLink(node)) links.push_back(node);
        if (node->GetNextSibling() != nullptr && node != top) due.push_back(node->GetNextSibling());
        if (node->GetFirstChild() != nullptr) due.push_back(node->GetFirstChild());
    }
    return links;
}

}  // namespace

CNumberedTexts::~CNumberedTexts()
{
    while (First != nullptr) {
        Block* next = First->Next;
        ::operator delete(First);
        First = next;
    }
}

void CNumberedTexts::Add(const char* text, int number)
{
    const size_t bytes = sizeof number + strlen(text) + 1;
    if (Last == nullptr || Last->Capacity - Last->Used < bytes) {
        const size_t capacity = std::max({bytes, Held / 2, size_t{64}});
        Block* block = new (::operator new(sizeof(Block) + capacity)) Block{nullptr, capacity, 0};
        (Last != nullptr ? Last->Next : First) = block;
        Last = block;
        Held += capacity;
    }
    char* at = Last->Bytes() + Last->Used;
    memcpy(at, &number, sizeof number);
    memcpy(at + sizeof number, text, bytes - sizeof number);
    Last->Used += bytes;
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
    if (node->IsNamed("a"))
        if (const char* name = tag->GetAttribute("name")) NamedElements.Add(name, card);
    SawFragmentLink = SawFragmentLink || IsFragmentLink(node);
}

void CFragmentTargets::NoteTagAfter(const CXmlNode* node)
{
    if (!node->IsNamed("card")) return;
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
std::string CFragmentTargets::CardIdOf(const std::string& fragment, const CCardOfName& cardOfName,
                                       const CIdOfCard& idOfCard, const CXmlNode* wml) const
{
    const auto named = cardOfName.find(fragment);
    if (named != cardOfName.end()) {
        if (named->second != 0) {
            const char* id = idOfCard[static_cast<size_t>(named->second)];
            return id != nullptr ? id : "";
        }
        // Outside any card: only a deck that had no card gathered it into one.
        if (CardsEntered != 0) return "";
    } else if (!fragment.empty() && !EqualNoCase(fragment.c_str(), "top")) {
        return "";
    }
    const char* first = FirstCardId(wml);
    return first != nullptr ? first : "";
}

void CFragmentTargets::ResolveLinks(CXmlNode* wml) const
{
    if (!SawFragmentLink) return;
    const std::unordered_set<std::string> cards = CardIds(wml);
    // The first element of each name or id wins.
    CCardOfName cardOfName;
    NamedElements.ForEach([&](const char* name, int card) { cardOfName.emplace(name, card); });
    CIdOfCard idOfCard(static_cast<size_t>(CardsEntered) + 1, nullptr);
    IdsByCard.ForEach([&](const char* id, int card) { idOfCard[static_cast<size_t>(card)] = id; });
    for (CXmlNode* link : FragmentLinksUnder(wml)) {
        CXmlObject* tag = link->GetObject();
        const std::string fragment = tag->GetAttribute("href") + 1;
        if (cards.count(fragment) != 0) continue;
        const std::string card = CardIdOf(fragment, cardOfName, idOfCard, wml);
        if (!card.empty() && cards.count(card) != 0) {
            tag->SetAttribute("href", ("#" + card).c_str());
            continue;
        }
        DropTag(link);
        if (link->GetNextSibling() != nullptr) DropTag(link->GetNextSibling());
    }
}
