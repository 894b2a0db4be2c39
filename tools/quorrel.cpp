// quorrel: converts one HTML or XHTML page into a WML deck on standard output.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "quorrel.h"

namespace {

const char Usage[] =
    "usage: quorrel [--user-agent TEXT] [--] [FILE|-]\n"
    "Converts an HTML or XHTML page into a WML 1.1 deck and writes it to standard output.\n"
    "\n"
    "  FILE                 the page to convert; '-' or no FILE reads standard input\n"
    "  --user-agent TEXT    the handset's user-agent text, which chooses the device\n"
    "                       profile from Fendrel.cfg beside the library\n"
    "  --                   ends the options: the next argument is the FILE\n"
    "  --version            print the library's version text and exit\n"
    "  -h, --help           print this help and exit\n"
    "\n"
    "Exit status: 0 when the deck was written, 1 when the page could not be read\n"
    "or converted or the deck could not be written, 2 for wrong usage.\n"
    "See quorrel(1).\n";

struct Options {
    std::string UserAgent;
    bool HasUserAgent = false;
    std::string File = "-";
};

// Reads through stdio so that a read error (a directory, a broken pipe) is
// reported with its errno instead of ending the text early or throwing.
bool ReadStream(FILE* stream, std::string& page)
{
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, stream)) > 0) page.append(block, got);
    return !std::ferror(stream);
}

bool ReadPage(const std::string& file, std::string& page)
{
    if (file == "-") return ReadStream(stdin, page);
    FILE* stream = std::fopen(file.c_str(), "rb");
    if (stream == nullptr) return false;
    const bool read = ReadStream(stream, page);
    const int readError = errno;
    std::fclose(stream);
    errno = readError;
    return read;
}

// The library answers 0 both for a buffer too small for the deck and for a
// conversion that failed (it ran out of memory), so a 0 alone never says
// that a larger buffer would help. Two things keep a failure cheap: the
// buffer grows sixteenfold at each step, so the way to the largest buffer
// the interface allows takes at most a few conversions, and its bytes are
// left unset, so that the memory of a buffer the library does not write to
// is never touched. A buffer that cannot be had ends the growth: the
// conversion then counts as failed.
constexpr long long BufferGrowth = 16;

// The first buffer: twice the page and a little more holds nearly every deck.
long long FirstBufferSize(size_t pageLength)
{
    return static_cast<long long>(pageLength) * 2 + 4096;
}

// The page holds at most INT_MAX bytes.
bool Convert(const Options& options, const std::string& page, std::string& deck)
{
    std::vector<char> pageCopy(page.begin(), page.end());
    pageCopy.push_back('\0');
    std::string userAgentCopy = options.UserAgent;
    char* callerTag = nullptr;
    char* userAgent = options.HasUserAgent ? &userAgentCopy[0] : nullptr;
    char* text = pageCopy.data();
    int length = static_cast<int>(page.size());
    for (long long size = FirstBufferSize(page.size());; size *= BufferGrowth) {
        int capacity = size > INT_MAX ? INT_MAX : static_cast<int>(size);
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(capacity)]);
        if (buffer == nullptr) return false;
        char* output = buffer.get();
        if (WapConvert(callerTag, userAgent, text, length, output, capacity) > 0) {
            deck.assign(output, static_cast<size_t>(capacity));
            return true;
        }
        if (size >= INT_MAX) return false;
    }
}

// Returns the exit status when the arguments already decide it (help,
// version, wrong usage), or -1 when the page is to be converted.
int ParseArguments(int argc, char** argv, Options& options)
{
    bool haveFile = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (isOption && (arg == "--help" || arg == "-h")) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (isOption && arg == "--version") {
            std::printf("%s\n", LibraryVersion());
            return 0;
        }
        if (isOption && arg == "--") {
            optionsEnded = true;
        } else if (isOption && arg == "--user-agent") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "quorrel: --user-agent needs a text\n");
                return 2;
            }
            options.UserAgent = argv[++i];
            options.HasUserAgent = true;
        } else if (isOption) {
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
    return -1;
}

const char* SourceName(const std::string& file)
{
    return file == "-" ? "standard input" : file.c_str();
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Pages and decks are bytes: no CR LF translation, no end at byte 0x1A.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    Options options;
    const int status = ParseArguments(argc, argv, options);
    if (status >= 0) return status;
    std::string page;
    if (!ReadPage(options.File, page)) {
        std::fprintf(stderr, "quorrel: cannot read %s: %s\n", SourceName(options.File),
                     std::strerror(errno));
        return 1;
    }
    // The library counts the page's bytes in an int.
    if (page.size() > static_cast<size_t>(INT_MAX)) {
        std::fprintf(stderr, "quorrel: %s is too large to convert (more than %d bytes)\n",
                     SourceName(options.File), INT_MAX);
        return 1;
    }
    std::string deck;
    if (!Convert(options, page, deck)) {
        std::fprintf(stderr, "quorrel: the deck for %s could not be produced\n",
                     SourceName(options.File));
        return 1;
    }
    // A full disk or a closed pipe must not pass for a written deck.
    if (std::fwrite(deck.data(), 1, deck.size(), stdout) != deck.size() ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quorrel: cannot write the deck: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
