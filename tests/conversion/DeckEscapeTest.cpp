#include <gtest/gtest.h>

#include <string>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "library/Exports.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

// What the end of a conversion escapes once every node stands where it is
// written. Attribute values and '$' are covered by the golden decks; no
// configuration line keeps comments, so a profile is changed here.
namespace {

// The built-in configuration, with a default device whose profile keeps
// comments (no configuration line can ask for that).
CConfigurationSnapshot CommentsKept()
{
    CConfigurationSnapshot built = BuildConfiguration("");
    // Made here and not yet shared, so it may still be changed.
    CDevice* device = const_cast<CConfiguration&>(*built).DefaultDevice;
    EnsureDeviceProfile(device);
    device->Settings->DropComments = 0;
    return built;
}

std::string ConvertWith(const CConfigurationSnapshot& configuration, const std::string& page)
{
    CXmlNode root;
    const long long measured =
        BuildDeck(&root, configuration, nullptr, page.data(), static_cast<int>(page.size()));
    std::string deck(static_cast<size_t>(measured) + 1, '\0');
    root.Write(&deck[0], LineBreakElements);
    deck.resize(deck.size() - 1);
    return deck;
}

// The line of the deck that holds `needle`.
std::string LineWith(const std::string& deck, const std::string& needle)
{
    const size_t at = deck.find(needle);
    if (at == std::string::npos) return "(none)";
    const size_t begin = deck.rfind('\n', at) + 1;
    return deck.substr(begin, deck.find('\r', at) - begin);
}

TEST(DeckEscape, KeptCommentsAreWellFormed)
{
    const std::string deck = ConvertWith(CommentsKept(),
        "<html><body><p>a<!-- x -- y ---z --><!-- ok - fine --><!-- end- --><!---->"
        "<!-- last---></p></body></html>");
    EXPECT_EQ(LineWith(deck, "a<!--"),
              "a<!-- x - - y - - -z --><!-- ok - fine --><!-- end- --><!----><!-- last- -->");
}

// Values are looked at in blocks for a byte to escape: one is found wherever
// it falls in a block.
TEST(DeckEscape, EveryPlaceInAValueIsLookedAt)
{
    const CConfigurationSnapshot defaults = BuildConfiguration("");
    for (size_t at = 0; at < 40; ++at) {
        const std::string before(at, 'x');
        const std::string deck = ConvertWith(defaults,
            "<html><body><p><img src=\"a.png\" alt=\"" + before + "&$yy\"></p></body></html>");
        EXPECT_NE(deck.find("alt=\"" + before + "&amp;$$yy\""), std::string::npos) << deck;
    }
}

}  // namespace
