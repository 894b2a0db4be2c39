// A C++ host of the installed library: declarations in reference form, built
// by CMake against the imported target Quorrel::quorrel.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <quorrel.h>

namespace {

// Converts with a buffer that grows while the library refuses it as too small.
std::string Convert(const std::string& html)
{
    std::string copy = html;
    char* tag = nullptr;
    char* agent = nullptr;
    char* page = &copy[0];
    int length = static_cast<int>(copy.size());
    for (size_t size = 16; size < (1u << 20); size *= 2) {
        std::vector<char> buffer(size);
        char* output = buffer.data();
        int capacity = static_cast<int>(size);
        if (WapConvert(tag, agent, page, length, output, capacity) > 0)
            return std::string(output, static_cast<size_t>(capacity));
    }
    return std::string();
}

bool Expect(bool condition, const char* what)
{
    if (!condition) std::fprintf(stderr, "host.cpp: %s\n", what);
    return condition;
}

}  // namespace

int main()
{
    const std::string deck = Convert(
        "<html><head><title>From C++</title></head><body><p>Hello <b>there</b></p></body></html>");
    bool ok = Expect(std::strncmp(LibraryVersion(), "Quorrel, v", 10) == 0,
                     "unexpected version text");
    ok &= Expect(deck.compare(0, 5, "<?xml") == 0, "the deck does not begin with <?xml");
    ok &= Expect(deck.find("<wml>\r\n") != std::string::npos, "the deck has no <wml>");
    ok &= Expect(deck.find("<card id=\"card1\" title=\"From C++\">") != std::string::npos,
                 "the deck has no card titled From C++");
    ok &= Expect(deck.find("Hello <b>there</b>") != std::string::npos,
                 "the page text is missing");
    if (!ok) std::fputs(deck.c_str(), stderr);
    return ok ? 0 : 1;
}
