// A page with region markers, converted under a tag-replacement list and
// marker words drawn from the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

namespace {

std::string TakeLine(std::string& input)
{
    size_t newline = input.find('\n');
    std::string line = input.substr(0, newline);
    input.erase(0, newline == std::string::npos ? input.size() : newline + 1);
    return line;
}

}  // namespace

// Line 1: the replacement list; line 2: a start and a stop word for include
// regions; the rest: the page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    const std::string replace = TakeLine(input);
    const std::string words = TakeLine(input);
    const size_t blank = words.find(' ');
    std::string config = "DEVICE_GROUP=SMALL\nTAG_REPLACE=\"" + replace + "\"\n";
    if (blank != std::string::npos && blank > 0)
        config += "INCLUDE_TAG_START=" + words.substr(0, blank) +
                  "\nINCLUDE_TAG_STOP=" + words.substr(blank + 1) + "\n";
    config += (size % 2 == 0) ? "DEFAULT_EXCLUDE=false\n" : "";
    config += "DEVICE=ALPHA\nUSERAGENT=Alpha*\nGROUP=SMALL\nTAG_REPLACE=" + replace + "\n";
    config += "DEVICE=BETA\nUSERAGENT=*Beta*\nGROUP=SMALL\n";
    LoadConfigurationText(config);
    ConvertAndCheck(input, "Alpha/1.0");
    ConvertAndCheck(input, "The Beta phone");
    ConvertAndCheck(input, nullptr);
    LoadBuiltInConfiguration();
    return 0;
}
