#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "support/LoadedLibrary.h"

namespace {

// The first group has no profile: the fallback device, which belongs to it,
// converts with the built-in defaults.
const char Handsets[] =
    "DEVICE_GROUP=Plain\n"
    "DEVICE_GROUP=Mono\n"
    "DOCTYPE=\"<!DOCTYPE wml PUBLIC \\\"-//WAPFORUM//DTD WML 1.1//EN\\\" \\\"mono.xml\\\">\"\n"
    "TAG_REPLACE=center=<br/>|<br/>\n"
    "DEVICE=Handset1\n"
    "USERAGENT=*Handset1*\n"
    "GROUP=Mono\n";

const std::string Page = "<html><body><center>c</center></body></html>";

bool HasMonoProfile(const std::string& deck)
{
    return deck.find("\"mono.xml\">") != std::string::npos;
}

TEST(ConfigFileEndToEnd, DeviceChosenFromFileBesideLibrary)
{
    CLoadedLibrary library(Handsets);
    ASSERT_NE(library.Convert, nullptr) << library.Error;
    const std::string deck = library.Deck(Page, "Mozilla/5.0 (Handset1)");
    EXPECT_TRUE(HasMonoProfile(deck)) << deck;
    EXPECT_NE(deck.find("<br/>c<br/>"), std::string::npos) << deck;
    const std::string other = library.Deck(Page, "Other/1.0");
    EXPECT_FALSE(HasMonoProfile(other)) << other;
    EXPECT_EQ(other.find("<br/>"), std::string::npos) << other;
}

TEST(ConfigFileEndToEnd, FileBesideLibraryOpenedByRelativePathIsFoundFromElsewhere)
{
    CLoadedLibrary library(Handsets, true);
    ASSERT_NE(library.Convert, nullptr) << library.Error;
    // The host's new directory holds a configuration of its own, which must
    // not be the one used.
    char here[4096];
    char elsewhere[] = "/tmp/quorrel-cwd-XXXXXX";
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_NE(mkdtemp(elsewhere), nullptr);
    const std::string otherConfig = std::string(elsewhere) + "/Fendrel.cfg";
    std::ofstream(otherConfig) << "DEVICE=DEFAULT\nXMLVERSION=<?xml version=\"1.0\"?><!-- other -->\n";
    ASSERT_EQ(chdir(elsewhere), 0);
    const std::string deck = library.Deck(Page, "Handset1");
    ASSERT_EQ(chdir(here), 0);
    std::remove(otherConfig.c_str());
    rmdir(elsewhere);
    EXPECT_TRUE(HasMonoProfile(deck)) << deck;
}

TEST(ConfigFileEndToEnd, ReloadsAfterSizeChangeAndKeepsConfigurationWhenDeleted)
{
    CLoadedLibrary library(Handsets);
    ASSERT_NE(library.Convert, nullptr) << library.Error;
    ASSERT_TRUE(HasMonoProfile(library.Deck(Page, "Handset1")));
    library.WriteConfiguration(std::string(Handsets) + "USERAGENT=Renamed*\n");
    EXPECT_FALSE(HasMonoProfile(library.Deck(Page, "Handset1")));
    EXPECT_TRUE(HasMonoProfile(library.Deck(Page, "Renamed/2")));
    std::remove(library.ConfigPath().c_str());
    EXPECT_TRUE(HasMonoProfile(library.Deck(Page, "Renamed/2")));
}

TEST(ConfigFileEndToEnd, SameSizeWithinSameStampIsNotReloaded)
{
    const time_t stamp = 1700000000;  // an even second: one two-second slot
    CLoadedLibrary library("");
    ASSERT_NE(library.Convert, nullptr) << library.Error;
    library.WriteConfiguration(Handsets, stamp);
    ASSERT_TRUE(HasMonoProfile(library.Deck(Page, "Handset1")));

    std::string renamed = Handsets;
    renamed.replace(renamed.find("*Handset1*"), 10, "*Handset2*");
    library.WriteConfiguration(renamed, stamp + 1);
    EXPECT_TRUE(HasMonoProfile(library.Deck(Page, "Handset1")));

    library.WriteConfiguration(renamed, stamp + 2);
    EXPECT_FALSE(HasMonoProfile(library.Deck(Page, "Handset1")));
    EXPECT_TRUE(HasMonoProfile(library.Deck(Page, "Handset2")));
}

}  // namespace
