// quorrel: converts one HTML or XHTML page into a WML deck on standard output.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <fstream>
#include <string>
#include <vector>

#include "quorrel.h"

namespace {

const char Usage[] =
    "usage: quorrel [--user-agent TEXT] [FILE|-]\n"
    "Converts an HTML or XHTML page into a WML 1.1 deck and writes it to standard output.\n"
    "\n"
    "  FILE                 the page to convert; '-' or no FILE reads standard input\n"
    "  --user-agent TEXT    the handset's user-agent text, which chooses the device\n"
    "                       profile from Fendrel.cfg beside the library\n"
    "  --version            print the library's version text and exit\n"
    "  --help               print this help and exit\n";

struct Options {
    std::string UserAgent;
    bool HasUserAgent = false;
    std::string File = "-";
};

bool ReadPage(const std::string& file, std::string& page)
{
    if (file == "-") {
        page.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    page.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Converts with a growing buffer while the library answers that it is too small.
bool Convert(const Options& options, const std::string& page, std::string& deck)
{
    if (page.size() > static_cast<size_t>(INT_MAX)) return false;
    std::vector<char> pageCopy(page.begin(), page.end());
    pageCopy.push_back('\0');
    std::string userAgentCopy = options.UserAgent;
    char* callerTag = nullptr;
    char* userAgent = options.HasUserAgent ? &userAgentCopy[0] : nullptr;
    char* text = pageCopy.data();
    int length = static_cast<int>(page.size());
    long long size = static_cast<long long>(page.size()) * 2 + 4096;
    for (;;) {
        int capacity = size > INT_MAX ? INT_MAX : static_cast<int>(size);
        std::vector<char> buffer(static_cast<size_t>(capacity));
        char* output = buffer.data();
        if (WapConvert(callerTag, userAgent, text, length, output, capacity) > 0) {
            deck.assign(output, static_cast<size_t>(capacity));
            return true;
        }
        if (size >= INT_MAX) return false;
        size *= 2;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    bool haveFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("%s\n", LibraryVersion());
            return 0;
        }
        if (arg == "--user-agent") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "quorrel: --user-agent needs a text\n");
                return 2;
            }
            options.UserAgent = argv[++i];
            options.HasUserAgent = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "quorrel: unknown option %s\n%s", arg.c_str(), Usage);
            return 2;
        } else if (haveFile) {
            std::fprintf(stderr, "quorrel: only one page can be converted at a time\n");
            return 2;
        } else {
            options.File = arg;
            haveFile = true;
        }
    }
    std::string page;
    if (!ReadPage(options.File, page)) {
        std::fprintf(stderr, "quorrel: cannot read %s: %s\n",
                     options.File == "-" ? "standard input" : options.File.c_str(),
                     std::strerror(errno));
        return 1;
    }
    std::string deck;
    if (!Convert(options, page, deck)) {
        std::fprintf(stderr, "quorrel: the deck for %s could not be produced\n",
                     options.File.c_str());
        return 1;
    }
    std::fwrite(deck.data(), 1, deck.size(), stdout);
    return 0;
}
