// The library writes a deck only into a buffer larger than the deck: start
// with a buffer twice the page and double it until the deck fits.
#include "DeckConversion.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "Negotiation.h"
#include "quorrel.h"

namespace quorrel_apache {

namespace {

// No page grows this much; a deck that would is treated as a failed conversion.
constexpr size_t GrowthLimit = 32;
constexpr size_t Slack = 64 * 1024;

bool TryConvert(std::string& page, std::string* userAgent, size_t size, Deck& deck)
{
    deck.Text.reset(static_cast<char*>(std::malloc(size)));
    if (!deck.Text) return false;
    char* callerTag = nullptr;
    char* agent = userAgent != nullptr ? &(*userAgent)[0] : nullptr;
    char* text = &page[0];
    int length = static_cast<int>(page.size());
    char* output = deck.Text.get();
    int capacity = static_cast<int>(size);
    if (WapConvert(callerTag, agent, text, length, output, capacity) <= 0) {
        deck.Text.reset();
        return false;
    }
    deck.Length = static_cast<size_t>(capacity);
    return true;
}

std::string AttributeValue(const std::string& tag, const char* name)
{
    const size_t at = tag.find(name);
    if (at == std::string::npos) return "";
    const size_t open = at + std::strlen(name);
    if (open >= tag.size() || (tag[open] != '"' && tag[open] != '\'')) return "";
    const size_t close = tag.find(tag[open], open + 1);
    return close == std::string::npos ? "" : tag.substr(open + 1, close - open - 1);
}

}  // namespace

bool ConvertPage(std::string& page, const char* userAgent, Deck& deck)
{
    try {
        std::string agentCopy = userAgent != nullptr ? userAgent : "";
        const size_t limit = std::min<size_t>(INT_MAX, page.size() * GrowthLimit + Slack);
        for (size_t size = std::min(limit, page.size() * 2 + 4096);; size = std::min(limit, size * 2)) {
            if (TryConvert(page, userAgent != nullptr ? &agentCopy : nullptr, size, deck)) return true;
            if (size == limit) return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string DeckCharset(const Deck& deck, const std::string& pageCharset)
{
    const std::string start(deck.Text.get(), std::min<size_t>(deck.Length, 256));
    if (start.compare(0, 5, "<?xml") == 0) {
        const std::string encoding =
            PlainToken(AttributeValue(start.substr(0, start.find("?>")), "encoding="));
        if (!encoding.empty()) return encoding;
    }
    return pageCharset.empty() ? "utf-8" : pageCharset;
}

// FNV-1a over the deck: cheap, and any change of a byte changes the tag.
std::string DeckTag(const Deck& deck)
{
    unsigned long long hash = 14695981039346656037ull;
    for (size_t i = 0; i < deck.Length; ++i) {
        hash ^= static_cast<unsigned char>(deck.Text.get()[i]);
        hash *= 1099511628211ull;
    }
    char tag[32];
    std::snprintf(tag, sizeof tag, "\"wml-%016llx\"", hash);
    return tag;
}

}  // namespace quorrel_apache
