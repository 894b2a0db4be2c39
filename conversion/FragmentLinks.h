// Links to a fragment of the page ("#x") made into links to a card of the
// deck (conversion-private).
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/NumberedTexts.h"
#include "platform/WorkStack.h"

class CNameTable;
class CXmlNode;

// An anchor of the deck whose href is "#" and a fragment.
bool IsFragmentLink(const CXmlNode* node);

// Learns during the main walk which card holds each element that a fragment
// can name, and after the walk points every fragment link at that card.
class CFragmentTargets {
public:
    // Every tag the walk visits, before its rule runs: notes the element's
    // "id", and an anchor's "name", under the card the walk is in.
    void NoteTagBefore(const CXmlNode* node);
    // The same tag after its rule ran: follows the walk into and out of cards.
    void NoteTagAfter(const CXmlNode* node);
    // True when the walk met a link to a fragment: only then are the deck's
    // links to fragments gathered and resolved.
    bool SawLinksToFragments() const { return SawFragmentLink; }
    // At the root, once the deck's cards are final, for the deck's links to
    // fragments in document order (IsFragmentLink): a link "#x" leads to the
    // card with id x, else to the card that held the element named x; a link
    // without a target is dropped and its content stays.
    void ResolveLinks(CXmlNode* wml, const std::vector<CXmlNode*>& links) const;

private:
    // The id of each card by its number (they point into IdsByCard), null for none.
    using CIdOfCard = std::vector<const char*>;
    std::string CardIdOf(std::string_view fragment, const CNameTable& cardOfName,
                         const CIdOfCard& idOfCard, const CXmlNode* wml) const;

    bool SawFragmentLink = false;
    // Cards the walk has entered, by number; 0 stands for "outside any card".
    int CardsEntered = 0;
    CWorkStack<int> OpenCards;
    // Each name or id with the number of its card, in document order. Only a
    // page with fragment links looks them up, so they are listed as they come
    // and made into a table only then.
    CNumberedTexts NamedElements;
    // The id of each card with the card's number, as its end tag left it
    // (kept once the page has a named element).
    CNumberedTexts IdsByCard;
};
