#include <gtest/gtest.h>

#include <string>

#include "devices/Xmldevice.h"
#include "support/TreeDump.h"

// What the end of a conversion escapes once every node stands where it is
// written. Attribute values and '$' are covered by the golden decks; no
// configuration line keeps comments, so a profile is changed here.
namespace {

// Keeps the comments of the default device's profile for one test.
class CCommentsKept {
public:
    CCommentsKept()
        : Profile(ProfileOf(FindDeviceByUserAgent(nullptr))), Before(Profile->DropComments)
    {
        Profile->DropComments = 0;
    }
    ~CCommentsKept() { Profile->DropComments = Before; }
    CCommentsKept(const CCommentsKept&) = delete;
    CCommentsKept& operator=(const CCommentsKept&) = delete;

private:
    CWmlSettings* Profile;
    int32_t Before;
};

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
    CCommentsKept kept;
    const std::string deck = ConvertPage(
        "<html><body><p>a<!-- x -- y ---z --><!-- ok - fine --><!-- end- --><!---->"
        "<!-- last---></p></body></html>");
    EXPECT_EQ(LineWith(deck, "a<!--"),
              "a<!-- x - - y - - -z --><!-- ok - fine --><!-- end- --><!----><!-- last- -->");
}

}  // namespace
