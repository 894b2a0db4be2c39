// Links to a fragment of the page ("#x") made into links to a card of the
// deck (conversion-private).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/WorkStack.h"

class CNameTable;
class CXmlNode;

// Learns during the main walk which card holds each element that a fragment
// can name, and after the walk points every fragment link at that card.
class CFragmentTargets {
public:
    // Every tag the walk visits, before its rule runs: notes the element's
    // "id", and an anchor's "name", under the card the walk is in.
    void NoteTagBefore(const CXmlNode* node);
    // The same tag after its rule ran: follows the walk into and out of cards.
    void NoteTagAfter(const CXmlNode* node);
    // At the root, once the deck's cards are final: a link "#x" leads to the
    // card with id x, else to the card that held the element named x; a link
    // without a target is dropped and its content stays.
    void ResolveLinks(CXmlNode* wml) const;

private:
    std::string CardIdOf(std::string_view fragment, const CNameTable& cardOfName,
                         const CXmlNode* wml) const;

    bool SawFragmentLink = false;
    // Cards the walk has entered, by number; 0 stands for "outside any card".
    int CardsEntered = 0;
    CWorkStack<int> OpenCards;
    // Each name or id with the number of its card, in document order. Only a
    // page with fragment links looks them up, so they are listed as they come
    // and made into a table only then.
    std::vector<std::pair<std::string, int>> NamedElements;
    // The id of each card, by its number, as its end tag left it (kept once
    // the page has a named element).
    std::vector<std::string> IdOfCard;
};
