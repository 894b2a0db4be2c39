// Arbitrary page bytes and user-agent text through the whole conversion.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    LoadBuiltInConfiguration();
    return 0;
}

// The first line, when short, is the user-agent text; the rest is the page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t newline = input.find('\n');
    if (newline != std::string::npos && newline < 80) {
        std::string userAgent = input.substr(0, newline);
        ConvertAndCheck(input.substr(newline + 1), userAgent.c_str());
    } else {
        ConvertAndCheck(input, nullptr);
    }
    return 0;
}
