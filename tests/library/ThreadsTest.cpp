#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/LoadedLibrary.h"

// Conversions on many threads at once while the configuration file beside
// the library is replaced again and again.
namespace {

namespace fs = std::filesystem;

// Two configurations that no deck can mix unnoticed: every deck's first line
// names the configuration and the group, and the devices, groups, marker
// words, tag replacements and tables differ between them. Their sizes
// differ, so every replacement changes the file's stamp.
const char First[] =
    "INCLUDE_TAG_START=ONLY\n"
    "INCLUDE_TAG_STOP=/ONLY\n"
    "DEVICE_GROUP=Small\n"
    "XMLVERSION=<?xml version=\"1.0\" encoding=\"first-small\"?>\n"
    "TAG_REPLACE=b=<i>|</i>,h1=<big>|</big><br/>\n"
    "DEVICE_GROUP=Large\n"
    "XMLVERSION=<?xml version=\"1.0\" encoding=\"first-large\"?>\n"
    "TABLES=false\n"
    "DEVICE=Alpha\n"
    "USERAGENT=*Alpha*\n"
    "GROUP=Small\n"
    "DEVICE=Beta\n"
    "USERAGENT=*Beta*\n"
    "GROUP=Large\n"
    "DEVICE=DEFAULT\n"
    "GROUP=Large\n";

const char Second[] =
    "DEFAULT_EXCLUDE=false\n"
    "DEVICE_GROUP=Small\n"
    "XMLVERSION=<?xml version=\"1.0\" encoding=\"second-small\"?>\n"
    "TAG_REPLACE=i=<b>|</b>,p=<br/>|<br/>\n"
    "DEVICE_GROUP=Large\n"
    "XMLVERSION=<?xml version=\"1.0\" encoding=\"second-large\"?>\n"
    "DEVICE=Alpha\n"
    "USERAGENT=*Alpha*\n"
    "GROUP=Large\n"
    "DEVICE=DEFAULT\n"
    "GROUP=Small\n";

const char* const UserAgents[] = {nullptr, "Mozilla/5.0 (Alpha)", "Beta/2.0", "Other/1.0"};

// A page that region markers and tag replacement treat differently in each.
const char MarkedPage[] =
    "<html><head><title>Threads</title></head><body><h1>Head</h1>\n"
    "<p>Plain <b>bold</b> and <i>italic</i>.</p>\n"
    "<!-- ONLY DEVICE=\"Alpha\" --><p>alpha by ONLY</p><!-- /ONLY -->\n"
    "<!-- DEXCL DEVICE=\"Beta\" --><p>not for beta</p><!-- /DEXCL -->\n"
    "<table><tr><td>1</td><td>2</td></tr></table></body></html>";

// Every eighth corpus page of 2 to 24 KB: pages of every kind, few enough
// for a run under the thread sanitizer.
std::vector<std::string> Pages()
{
    std::vector<std::string> pages = {MarkedPage};
    const fs::path folder = fs::path(QUORREL_SOURCE_DIR).parent_path() / "shared" / "corpus";
    if (!fs::is_directory(folder)) return pages;
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".html" && entry.file_size() >= 2048 &&
            entry.file_size() <= 24576)
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (size_t i = 0; i < paths.size(); i += 8) pages.push_back(ReadFile(paths[i].string()));
    return pages;
}

struct CCase {
    const std::string* Page;
    const char* UserAgent;
    // The decks with the first and with the second configuration.
    std::string Decks[2];
};

// The file is replaced by generation after generation: even ones hold the
// first configuration, odd ones the second. `Started` counts the
// replacements begun, `Finished` those completed, so the file holds one of
// the generations from Finished to Started.
struct CFileHistory {
    std::atomic<int> Started{0};
    std::atomic<int> Finished{0};
    std::atomic<bool> Done{false};
};

struct CTally {
    int Decks[2] = {0, 0};
    int Steady = 0;
    std::vector<std::string> Faults;
};

void Convert(const CLoadedLibrary& library, const std::vector<CCase>& cases,
             const CFileHistory& history, size_t first, CTally& tally)
{
    // Calls after the last replacement all see a steady file.
    const int steadyCalls = 24;
    for (size_t n = first; !history.Done.load() || tally.Steady < steadyCalls; n += 5) {
        const CCase& test = cases[n % cases.size()];
        const int before = history.Finished.load();
        const std::string deck = library.Deck(*test.Page, test.UserAgent);
        const int after = history.Started.load();
        const int which = deck == test.Decks[0] ? 0 : deck == test.Decks[1] ? 1 : -1;
        std::string fault;
        if (which < 0)
            fault = "a deck of neither configuration";
        else if (before == after && which != before % 2)
            fault = "the configuration replaced before the call began";
        if (!fault.empty()) {
            tally.Faults.push_back("case " + std::to_string(n % cases.size()) + ": " + fault +
                                   "\n" + deck.substr(0, 400));
            if (tally.Faults.size() > 3) return;
            continue;
        }
        ++tally.Decks[which];
        if (before == after) ++tally.Steady;
    }
}

// Every deck equals the one-thread deck with one of the two configurations,
// and with the one in force when its call began whenever the file stayed as
// it was during the whole call.
TEST(Threads, EightConvertersWhileTheConfigurationIsReplaced)
{
    const std::vector<std::string> pages = Pages();
    CLoadedLibrary library(First);
    ASSERT_NE(library.Convert, nullptr) << library.Error;
    ASSERT_NE(sizeof First, sizeof Second);

    std::vector<CCase> cases;
    for (const std::string& page : pages)
        for (const char* userAgent : UserAgents) cases.push_back({&page, userAgent, {}});
    for (int which = 1; which >= 0; --which) {
        ASSERT_TRUE(library.ReplaceConfiguration(which == 0 ? First : Second));
        for (CCase& test : cases) test.Decks[which] = library.Deck(*test.Page, test.UserAgent);
    }
    for (const CCase& test : cases) {
        ASSERT_FALSE(test.Decks[0].empty());
        ASSERT_NE(test.Decks[0], test.Decks[1]);
    }

    CFileHistory history;
    std::vector<CTally> tallies(8);
    std::vector<std::thread> converters;
    for (size_t t = 0; t < tallies.size(); ++t)
        converters.emplace_back([&, t] { Convert(library, cases, history, t * 7, tallies[t]); });
    const int replacements = 300;
    bool replaced = true;
    for (int generation = 1; generation <= replacements && replaced; ++generation) {
        history.Started.store(generation);
        replaced = library.ReplaceConfiguration(generation % 2 == 0 ? First : Second);
        history.Finished.store(generation);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    history.Done.store(true);
    for (std::thread& converter : converters) converter.join();

    ASSERT_TRUE(replaced);
    int decks[2] = {0, 0};
    for (const CTally& tally : tallies) {
        for (const std::string& fault : tally.Faults) ADD_FAILURE() << fault;
        decks[0] += tally.Decks[0];
        decks[1] += tally.Decks[1];
    }
    // Both configurations were in force while the threads ran.
    EXPECT_GT(decks[0], 0);
    EXPECT_GT(decks[1], 0);
}

}  // namespace
