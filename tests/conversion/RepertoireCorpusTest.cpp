#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/Repertoire.h"
#include "devices/ConfigFixture.h"

// Every page of the shared corpus, converted for a Latin-1 and for an ASCII
// handset: the deck is well-formed, no character of it lies beyond the
// repertoire once its references are read, and it says what the deck for
// every character says, word for word, once that is reduced the same way.
namespace {

namespace fs = std::filesystem;

const fs::path CorpusFolder = fs::path(QUORREL_SOURCE_DIR).parent_path() / "shared" / "corpus";

std::vector<fs::path> CorpusPages()
{
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(CorpusFolder))
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    std::sort(pages.begin(), pages.end());
    return pages;
}

// A written deck as characters: its text and its attribute values, each a
// piece of its own, with the references read.
struct CPiece {
    std::string Attribute;  // empty for text between tags
    std::u32string Characters;
};

class CDeckReader {
public:
    // The corpus gives decks in UTF-8 and, as their declarations say, in
    // ISO-8859-1.
    explicit CDeckReader(const std::string& deck)
        : Deck(deck), Latin1(deck.substr(0, deck.find('>')).find("ISO-8859-1") != std::string::npos)
    {
    }

    std::vector<CPiece> Pieces()
    {
        std::vector<CPiece> pieces;
        while (At < Deck.size()) {
            if (Deck[At] != '<') {
                const size_t end = Deck.find('<', At);
                pieces.push_back({"", Characters(At, end == std::string::npos ? Deck.size() : end)});
                At = end == std::string::npos ? Deck.size() : end;
            } else {
                ReadTag(pieces);
            }
        }
        return pieces;
    }

private:
    // Attribute values stand in double quotes, and no '>' is left in them.
    void ReadTag(std::vector<CPiece>& pieces)
    {
        const size_t end = Deck.find('>', At);
        const std::string tag = Deck.substr(At, end - At);
        if (tag[1] == '!' || tag[1] == '?')
            pieces.push_back({"<!", Characters(At, end)});
        for (size_t at = 0; tag[1] != '!' && tag[1] != '?';) {
            const size_t open = tag.find("=\"", at);
            if (open == std::string::npos) break;
            const size_t name = tag.find_last_of(' ', open) + 1;
            const size_t close = tag.find('"', open + 2);
            pieces.push_back({tag.substr(name, open - name), Characters(At + open + 2, At + close)});
            at = close + 1;
        }
        At = end + 1;
    }

    std::u32string Characters(size_t from, size_t to) const
    {
        std::u32string out;
        for (size_t at = from; at < to;) out += Next(at);
        return out;
    }

    char32_t Next(size_t& at) const
    {
        const unsigned char c = static_cast<unsigned char>(Deck[at]);
        if (c == '&') return Reference(at);
        if (c < 0x80 || Latin1) return ++at, c;
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        char32_t code = c & (0x3F >> (length - 1));
        for (int i = 1; i < length; ++i) code = code << 6 | (Deck[at + i] & 0x3F);
        at += length;
        return code;
    }

    char32_t Reference(size_t& at) const
    {
        const size_t end = Deck.find(';', at);
        const std::string name = Deck.substr(at + 1, end - at - 1);
        at = end + 1;
        if (name[0] == '#')
            return static_cast<char32_t>(name[1] == 'x' ? std::stoul(name.substr(2), nullptr, 16)
                                                        : std::stoul(name.substr(1)));
        static const std::pair<const char*, char32_t> names[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'},
            {"apos", '\''}, {"nbsp", 0xA0}, {"shy", 0xAD}};
        for (const auto& known : names)
            if (name == known.first) return known.second;
        ADD_FAILURE() << "unknown reference &" << name << ";";
        return '?';
    }

    const std::string& Deck;
    const bool Latin1;
    size_t At = 0;
};

bool IsLink(const std::string& attribute)
{
    for (const char* link : {"href", "src", "onpick", "ontimer", "onenterforward", "onenterbackward"})
        if (attribute == link) return true;
    return false;
}

// The words of the deck's texts and of its attribute values other than
// links, with every character beyond `limit` replaced by its approximation.
std::vector<std::string> Words(const std::vector<CPiece>& pieces, char32_t limit)
{
    std::vector<std::string> words;
    for (const CPiece& piece : pieces) {
        if (piece.Attribute == "<!" || IsLink(piece.Attribute)) continue;
        std::string text = piece.Attribute.empty() ? "" : piece.Attribute + "= ";
        for (char32_t c : piece.Characters) {
            if (c <= limit)
                text += c < 0x80 ? std::string(1, static_cast<char>(c)) : "#" + std::to_string(c) + "#";
            else
                text += ApproximationOf(c);
        }
        std::istringstream split(text);
        for (std::string word; split >> word;) words.push_back(word);
    }
    return words;
}

// True when xmllint finds the deck well-formed, or is not there to judge;
// the deck's DTD is not loaded, so undefined entities do not count.
bool WellFormed(const std::string& deck)
{
    static const bool judge = std::system("xmllint --version > /dev/null 2>&1") == 0;
    if (!judge) return true;
    const fs::path path = fs::temp_directory_path() / ("quorrel-repertoire-" + std::to_string(getpid()));
    std::ofstream(path, std::ios::binary) << deck;
    const std::string command = "xmllint --noout '" + path.string() +
                                "' 2>&1 | grep 'error' | grep -v 'not defined' > /dev/null";
    const bool complained = std::system(command.c_str()) == 0;
    fs::remove(path);
    return !complained;
}

TEST_F(ConfigTest, CorpusDecksStayWithinTheirRepertoire)
{
    if (!fs::is_directory(CorpusFolder)) GTEST_SKIP() << "no corpus at " << CorpusFolder;
    Load("DEVICE_GROUP=G\n"
         "DEVICE=LATIN\nUSERAGENT=Latin\nREPERTOIRE=LATIN1\n"
         "DEVICE=ASCII\nUSERAGENT=Ascii\nREPERTOIRE=ASCII\n");
    const struct {
        const char* Agent;
        char32_t Limit;
    } repertoires[] = {{"Latin", 0xFF}, {"Ascii", 0x7F}};
    for (const fs::path& page : CorpusPages()) {
        const std::string name = page.stem().string();
        const std::string html = ReadFile(page.string());
        const std::vector<CPiece> all = CDeckReader(ConvertPage(html)).Pieces();
        for (const auto& repertoire : repertoires) {
            const std::string deck = ConvertPage(html, repertoire.Agent);
            EXPECT_TRUE(WellFormed(deck)) << name << " for " << repertoire.Agent;
            const std::vector<CPiece> pieces = CDeckReader(deck).Pieces();
            for (const CPiece& piece : pieces)
                for (char32_t c : piece.Characters)
                    ASSERT_LE(c, repertoire.Limit) << name << " for " << repertoire.Agent << " in "
                                                   << (piece.Attribute.empty() ? "text" : piece.Attribute);
            EXPECT_EQ(Words(pieces, repertoire.Limit), Words(all, repertoire.Limit))
                << name << " for " << repertoire.Agent;
        }
    }
}

}  // namespace
