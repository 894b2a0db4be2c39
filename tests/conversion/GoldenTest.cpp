#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "devices/Xmldevice.h"
#include "support/TreeDump.h"

// Whole conversions: every tests/data/convert/NAME.html is converted and
// compared byte for byte with NAME.wml. NAME.cfg, when present, is the
// configuration for that case only; the first line of NAME.ua, when present,
// is the user-agent text.
namespace {

namespace fs = std::filesystem;

const fs::path GoldenFolder = fs::path(QUORREL_TEST_DATA) / "convert";

// The case names, or none when the folder cannot be read: the suite is then
// listed without cases, and GoldenFolder.HoldsCases fails.
std::vector<std::string> GoldenNames()
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(GoldenFolder, error))
        if (entry.path().extension() == ".html") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(GoldenFolder, HoldsCases)
{
    ASSERT_TRUE(fs::is_directory(GoldenFolder)) << GoldenFolder << " is missing";
    EXPECT_FALSE(GoldenNames().empty()) << GoldenFolder << " holds no case";
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

// CR and LF made visible, one output line per deck line.
std::string ShowLineEnds(const std::string& deck)
{
    std::string shown;
    for (char c : deck) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n\n";
        else
            shown += c;
    }
    return shown;
}

// Loads a case's configuration and puts the usual one back afterwards, also
// when an assertion ends the test early.
class CCaseConfiguration {
public:
    explicit CCaseConfiguration(const fs::path& path) : Active(fs::exists(path))
    {
        if (!Active) return;
        ReleaseConfiguration();
        LoadConfigurationFrom(path.string().c_str());
    }
    ~CCaseConfiguration()
    {
        if (!Active) return;
        ReleaseConfiguration();
        LoadConfiguration();
    }
    CCaseConfiguration(const CCaseConfiguration&) = delete;
    CCaseConfiguration& operator=(const CCaseConfiguration&) = delete;

private:
    bool Active;
};

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, DeckMatchesExpectedFile)
{
    const fs::path base = GoldenFolder / GetParam();
    const fs::path expectedPath = fs::path(base).replace_extension(".wml");
    ASSERT_TRUE(fs::exists(expectedPath)) << "missing " << expectedPath;
    const std::string page = ReadFile(fs::path(base).replace_extension(".html").string());
    const std::string expected = ReadFile(expectedPath.string());

    const fs::path agentPath = fs::path(base).replace_extension(".ua");
    const bool hasAgent = fs::exists(agentPath);
    const std::string agent = hasAgent ? FirstLine(ReadFile(agentPath.string())) : "";

    std::string deck;
    {
        CCaseConfiguration configuration(fs::path(base).replace_extension(".cfg"));
        deck = ConvertPage(page, hasAgent ? agent.c_str() : nullptr);
    }
    EXPECT_TRUE(deck == expected) << "expected:\n"
                                  << ShowLineEnds(expected) << "\nactual:\n"
                                  << ShowLineEnds(deck);
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Convert, Golden, ::testing::ValuesIn(GoldenNames()), CaseName);

}  // namespace
