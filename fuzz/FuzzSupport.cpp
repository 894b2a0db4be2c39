#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "library/Exports.h"
#include "markup/Xmlnode.h"

namespace {

void Check(bool condition, const char* what)
{
    if (condition) return;
    fprintf(stderr, "check failed: %s\n", what);
    abort();
}

long long MeasureAndWrite(const std::string& page, const char* userAgent, std::string& deck)
{
    CXmlNode root;
    const long long measured = BuildDeck(&root, PublishedConfiguration(), userAgent, page.data(),
                                         static_cast<int>(page.size()));
    std::vector<char> buffer(static_cast<size_t>(measured) + 1, '\x7f');
    root.Write(buffer.data(), LineBreakElements);
    deck.assign(buffer.data());
    Check(static_cast<long long>(deck.size()) <= measured, "written length within the bound");
    return measured;
}

std::string ConfigPath()
{
    return "/tmp/quorrel-fuzz-" + std::to_string(getpid()) + ".cfg";
}

}  // namespace

void ConvertAndCheck(const std::string& page, const char* userAgent)
{
    std::string deck;
    const long long measured = MeasureAndWrite(page, userAgent, deck);
    if (measured >= 0x7fffffff) return;

    int capacity = static_cast<int>(measured) + 1;
    std::vector<char> output(static_cast<size_t>(capacity));
    int result = ConvertPage(userAgent, page.data(), static_cast<int>(page.size()),
                             output.data(), capacity);
    Check(result == capacity, "result equals capacity");
    Check(result == static_cast<int>(strlen(output.data())), "result equals the text length");
    Check(deck == output.data(), "two conversions give the same deck");

    int tooSmall = static_cast<int>(measured);
    std::vector<char> untouched(static_cast<size_t>(tooSmall) + 1, '#');
    Check(ConvertPage(userAgent, page.data(), static_cast<int>(page.size()), untouched.data(),
                      tooSmall) == 0 && tooSmall == 0,
          "a buffer of the measured length is refused");
    for (char c : untouched) Check(c == '#', "a refused buffer is untouched");
}

void LoadConfigurationText(const std::string& text)
{
    const std::string path = ConfigPath();
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) abort();
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
    ReleaseConfiguration();
    LoadConfigurationFrom(path.c_str());
    unlink(path.c_str());
}

void LoadBuiltInConfiguration()
{
    ReleaseConfiguration();
    LoadConfigurationFrom("");
}
