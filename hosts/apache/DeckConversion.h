// One page through the library, and what the response says about the deck.
#ifndef QUORREL_APACHE_DECK_CONVERSION_H
#define QUORREL_APACHE_DECK_CONVERSION_H

#include <cstdlib>
#include <memory>
#include <string>

namespace quorrel_apache {

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

// A deck in memory from malloc, so that a heap bucket can take it over.
struct Deck {
    std::unique_ptr<char, FreeDeleter> Text;
    size_t Length = 0;
};

// Converts a page for the handset named by userAgent (null: the default
// device). The library only reads the page. Returns false when the library gives no deck within many times the
// page's size or memory runs out. Never throws.
bool ConvertPage(std::string& page, const char* userAgent, Deck& deck);

// The charset of the deck: the encoding its XML declaration names, else the
// charset the page was sent with, else UTF-8 (what XML assumes).
std::string DeckCharset(const Deck& deck, const std::string& pageCharset);

// A strong entity tag that changes whenever the deck's bytes change.
std::string DeckTag(const Deck& deck);

}  // namespace quorrel_apache

#endif
