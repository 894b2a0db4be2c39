#include <string>

#include "devices/ConfigFixture.h"

namespace {

// ALPHA belongs to a group, Zephyr is named in mixed case, CAPS in capitals;
// any other user agent gets the nameless fallback device.
const char Handsets[] =
    "DEVICE_GROUP=Small\n"
    "DEVICE=ALPHA\nUSERAGENT=Alpha*\nGROUP=Small\n"
    "DEVICE=Zephyr\nUSERAGENT=Zephyr*\n"
    "DEVICE=CAPS\nUSERAGENT=Caps*\n";

class RegionsTest : public ConfigTest {
protected:
    void SetUp() override { Load(Handsets); }
};

TEST_F(RegionsTest, RegionsNestAndEndMarkersCloseNewerRegions)
{
    const std::string nested = "a<!--DINCL DEVICE=\"alpha\"-->b<!--DEXCL DEVICE=\"alpha\"-->c"
                               "<!--/DEXCL-->d<!--/DINCL-->e";
    EXPECT_EQ(ParsedFor(nested, "Alpha/1"), "a\nb\nd\ne\n");
    EXPECT_EQ(ParsedFor(nested, "Zephyr/1"), "a\nb\nc\nd\ne\n");

    const std::string crossed = "<!--DINCL DEVICE=\"alpha\"-->x<!--DEXCL DEVICE=\"alpha\"-->y"
                                "<!--   /DINCL-->z<!--/DEXCL-->w";
    EXPECT_EQ(ParsedFor(crossed, "Alpha/1"), "x\nz\nw\n");

    EXPECT_EQ(ParsedFor("<!--DEXCL DEVICE=\"alpha\"-->y<!--/DEXCL DEVICE=\"beta\"-->z", "Alpha/1"),
              "z\n");
    EXPECT_EQ(ParsedFor("<!--DEXCL-->gone<!--/DEXCL-->kept", "Zephyr/1"), "kept\n");
    EXPECT_EQ(ParsedFor("<!--dexcl-->q<!--DINCLUDE-->r", "Alpha/1"), "<!--dexcl-->\nq\nr\n");
}

TEST_F(RegionsTest, DeviceListsMatchNamesGroupsWapAndStar)
{
    const std::string lists = "<!--DEXCL DEVICE=\"wap\"-->w<!--/DEXCL-->"
                              "<!--DEXCL DEVICE=\"*\"-->s<!--/DEXCL-->k";
    EXPECT_EQ(ParsedFor(lists, "Alpha/1"), "k\n");
    EXPECT_EQ(ParsedFor(lists, "Zephyr/1"), "w\ns\nk\n");
    EXPECT_EQ(ParsedFor(lists, "Other/1"), "k\n");

    const std::string names = "<!--DEXCL DEVICE=\"zephyr Zephyr caps\"-->n<!--/DEXCL-->";
    EXPECT_EQ(ParsedFor(names, "Zephyr/1"), "n\n");
    EXPECT_EQ(ParsedFor(names, "Caps/1"), "");

    EXPECT_EQ(ParsedFor("<!--DEXCL DEVICE=\"x; alpha,,y\"-->g<!--/DEXCL-->", "Alpha/1"), "");
    EXPECT_EQ(ParsedFor("<!--DEXCL DEVICE=\"x\talpha\"-->t<!--/DEXCL-->", "Alpha/1"), "t\n");
    EXPECT_EQ(ParsedFor("<!--DINCL DEVICE=\"\"-->e<!--/DINCL-->", "Alpha/1"), "e\n");
}

TEST_F(RegionsTest, ExcludedStretchKeepsSkeletonAndTitleWithCustomWords)
{
    Load(std::string(Handsets) +
         "DEFAULT_EXCLUDE=false\nINCLUDE_TAG_START=ONLY\nINCLUDE_TAG_STOP=/ENDONLY\n");
    const std::string page = "<html><head><title>T</title></head><body><p>gone</p>"
                             "<!--ONLY DEVICE=\"alpha\"-->mine<!--/ENDONLY-->lost</body></html>";
    const std::string skeleton =
        "<html>\n  <head>\n    <title>\n      T\n    </title>\n  </head>\n  <body>\n";
    EXPECT_EQ(ParsedFor(page, "Alpha/1"), skeleton + "    mine\n  </body>\n</html>\n");
    EXPECT_EQ(ParsedFor(page, "Zephyr/1"), skeleton + "  </body>\n</html>\n");

    const std::string deck = ConvertPage(page, "Alpha/1");
    EXPECT_NE(deck.find("mine"), std::string::npos) << deck;
    EXPECT_EQ(deck.find("gone"), std::string::npos) << deck;
    EXPECT_EQ(ConvertPage(page, "Zephyr/1").find("mine"), std::string::npos);
}

// Opening and releasing many regions nests no calls, and an end marker that
// closes nothing does not walk the stack.
TEST_F(RegionsTest, ManyOpenRegionsOnSmallStack)
{
    std::string page;
    for (int i = 0; i < 200000; ++i) page += "<!--DINCL DEVICE=\"alpha\"-->";
    page += "x";
    for (int i = 0; i < 200000; ++i) page += "<!--/DEXCL-->";
    page += "<!--DEXCL-->y";
    std::string dump;
    RunOnSmallStack([&] { dump = ParsedFor(page, "Zephyr/1"); });
    EXPECT_EQ(dump, "x\n");
}

}  // namespace
