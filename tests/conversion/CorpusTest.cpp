#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CorpusPages.h"
#include "support/TreeDump.h"

// Every real-world page of the shared corpus converts into a well-formed
// deck, as xmllint judges it (undefined entities are only warnings there: the
// deck's DTD is not loaded).
namespace {

namespace fs = std::filesystem;

// xmllint's first complaint about a file, or "" when it is well-formed.
std::string FirstXmlError(const fs::path& deck, const fs::path& errors)
{
    const std::string command =
        "xmllint --noout '" + deck.string() + "' 2> '" + errors.string() + "'";
    if (std::system(command.c_str()) == 0) return "";
    std::string report = ReadFile(errors.string());
    // Undefined entities are reported too, but do not make the deck malformed.
    for (size_t at = 0; (at = report.find("error :", at)) != std::string::npos; ++at) {
        std::string line = report.substr(at, report.find('\n', at) - at);
        if (line.find("not defined") == std::string::npos) return line;
    }
    return report.empty() ? "xmllint failed" : report;
}

TEST(Corpus, DecksAreWellFormedXml)
{
    if (!fs::is_directory(CorpusFolder())) GTEST_SKIP() << "no corpus at " << CorpusFolder();
    if (std::system("xmllint --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
    const std::string stem =
        "quorrel-corpus-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const fs::path deckPath = fs::temp_directory_path() / (stem + ".wml");
    const fs::path errorPath = fs::temp_directory_path() / (stem + ".err");
    for (const fs::path& page : CorpusPages()) {
        const std::string name = page.stem().string();
        const std::string deck = ConvertPage(ReadFile(page.string()));
        EXPECT_FALSE(deck.empty()) << name;
        std::ofstream(deckPath, std::ios::binary) << deck;
        EXPECT_EQ(FirstXmlError(deckPath, errorPath), "") << name;
    }
    fs::remove(deckPath);
    fs::remove(errorPath);
}

// FNV-1a over every page's name and deck, in name order.
std::string ChecksumOfAllDecks()
{
    uint64_t hash = 14695981039346656037ull;
    auto add = [&hash](const std::string& bytes) {
        for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xffu) * 1099511628211ull;
    };
    for (const fs::path& page : CorpusPages()) {
        add(page.filename().string());
        add(ConvertPage(ReadFile(page.string())));
    }
    char text[17];
    snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// Work on speed must not change a single deck. A deliberate change of the
// output updates tests/data/corpus-decks.checksum together with its reason.
TEST(Corpus, DecksMatchTheRecordedChecksum)
{
    if (!fs::is_directory(CorpusFolder())) GTEST_SKIP() << "no corpus at " << CorpusFolder();
    std::string recorded = ReadFile(std::string(QUORREL_TEST_DATA) + "/corpus-decks.checksum");
    recorded = recorded.substr(0, recorded.find_first_of("\r\n"));
    EXPECT_EQ(ChecksumOfAllDecks(), recorded);
}

}  // namespace
