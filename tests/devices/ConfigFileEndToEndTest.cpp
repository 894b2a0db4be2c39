#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "support/TreeDump.h"

// The built shared library, copied into a folder of its own with a
// configuration file beside it and loaded as a host would load it.
namespace {

using WapConvertFunction = int (*)(char*&, char*&, char*&, int&, char*&, int&);

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

class CLoadedLibrary {
public:
    // `byRelativePath`: opened as "./libquorrel.so" from its folder, as a host
    // that changes directory afterwards might.
    explicit CLoadedLibrary(const std::string& configuration, bool byRelativePath = false)
    {
        char folder[] = "/tmp/quorrel-e2e-XXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        Folder = folder;
        const std::string copy = Folder + "/libquorrel.so";
        std::ofstream(copy, std::ios::binary) << ReadFile(QUORREL_LIBRARY_FILE);
        WriteConfiguration(configuration);
        // Never closed: the loaded copy keeps its configuration until the process ends.
        char here[4096];
        if (byRelativePath && (getcwd(here, sizeof here) == nullptr || chdir(folder) != 0)) return;
        void* handle = dlopen(byRelativePath ? "./libquorrel.so" : copy.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (byRelativePath && chdir(here) != 0) return;
        if (handle == nullptr) {
            const char* reason = dlerror();
            Error = reason != nullptr ? reason : "cannot load the library";
            return;
        }
        Convert = reinterpret_cast<WapConvertFunction>(dlsym(handle, "WapConvert"));
    }
    ~CLoadedLibrary()
    {
        std::remove(ConfigPath().c_str());
        std::remove((Folder + "/libquorrel.so").c_str());
        rmdir(Folder.c_str());
    }
    CLoadedLibrary(const CLoadedLibrary&) = delete;
    CLoadedLibrary& operator=(const CLoadedLibrary&) = delete;

    std::string ConfigPath() const { return Folder + "/Fendrel.cfg"; }

    // Writes the file and, when `written` is given, sets its last-write time.
    void WriteConfiguration(const std::string& text, time_t written = 0) const
    {
        std::ofstream(ConfigPath(), std::ios::binary | std::ios::trunc) << text;
        if (written == 0) return;
        utimbuf times{written, written};
        utime(ConfigPath().c_str(), &times);
    }

    std::string Deck(const std::string& page, const char* userAgent) const
    {
        if (Convert == nullptr) return "";
        std::string pageCopy = page;
        std::string agentCopy = userAgent;
        std::string output(65536, '\0');
        char* tag = nullptr;
        char* agent = &agentCopy[0];
        char* text = &pageCopy[0];
        int length = static_cast<int>(page.size());
        char* buffer = &output[0];
        int capacity = static_cast<int>(output.size());
        output.resize(static_cast<size_t>(Convert(tag, agent, text, length, buffer, capacity)));
        return output;
    }

    WapConvertFunction Convert = nullptr;
    std::string Error;

private:
    std::string Folder;
};

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
