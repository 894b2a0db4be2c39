#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "conversion/CharacterReferences.h"
#include "conversion/CorpusPages.h"
#include "platform/Text.h"
#include "support/TreeDump.h"

// Where the conversion takes away the tags between two texts of a page, the
// deck must not join the last word of one to the first word of the next.
// Every corpus page is minified, so that no blank between its tags keeps its
// words apart, and converted; a deck word that is no word of the page but two
// of them end to end was glued by the conversion.
namespace {

namespace fs = std::filesystem;

// A stretch of a page or deck: a text run, a tag (declarations included), a
// comment, or the content of a script or style element.
struct CPiece {
    enum CKind { Text, Tag, Comment, Raw };
    CPiece(CKind kind, std::string_view bytes) : Kind(kind), Bytes(bytes) {}
    CKind Kind;
    std::string_view Bytes;
    // A tag's element name, lower case.
    std::string Name;
    bool EndTag = false;
};

bool IsAsciiAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A '<' opens markup only before a name, an end tag, a declaration or a
// processing instruction; "a < b" is text.
bool OpensMarkup(std::string_view page, size_t at)
{
    if (at + 1 >= page.size()) return false;
    const char next = page[at + 1];
    return IsAsciiAlphanumeric(next) || next == '/' || next == '!' || next == '?';
}

// The end of the tag that opens at `at`: its '>' outside double quotes, which
// a line end closes as the converter's tokenizer does.
size_t TagEnd(std::string_view page, size_t at)
{
    bool quoted = false;
    for (size_t p = at + 1; p < page.size(); ++p) {
        const char c = page[p];
        if (c == '"') quoted = !quoted;
        if (c == '\r' || c == '\n') quoted = false;
        if (c == '>' && !quoted) return p + 1;
    }
    return page.size();
}

size_t FindNoCase(std::string_view page, std::string_view lowerNeedle, size_t from)
{
    for (size_t p = from; p + lowerNeedle.size() <= page.size(); ++p) {
        size_t i = 0;
        while (i < lowerNeedle.size() && LowerAscii(page[p + i]) == lowerNeedle[i]) ++i;
        if (i == lowerNeedle.size()) return p;
    }
    return page.size();
}

CPiece TagPiece(std::string_view bytes)
{
    CPiece piece(CPiece::Tag, bytes);
    size_t p = 1;
    piece.EndTag = p < bytes.size() && bytes[p] == '/';
    if (piece.EndTag) ++p;
    for (; p < bytes.size() && IsAsciiAlphanumeric(bytes[p]); ++p)
        piece.Name += static_cast<char>(LowerAscii(bytes[p]));
    return piece;
}

bool OpensRawText(const CPiece& piece)
{
    return piece.Kind == CPiece::Tag && !piece.EndTag &&
           (piece.Name == "script" || piece.Name == "style") &&
           piece.Bytes.substr(piece.Bytes.size() - 2) != "/>";
}

std::vector<CPiece> PiecesOf(std::string_view page)
{
    std::vector<CPiece> pieces;
    size_t text = 0;
    for (size_t at = page.find('<'); at < page.size(); at = page.find('<', at)) {
        if (!OpensMarkup(page, at)) {
            ++at;
            continue;
        }
        if (at > text) pieces.emplace_back(CPiece::Text, page.substr(text, at - text));
        if (page.compare(at, 4, "<!--") == 0) {
            const size_t close = page.find("-->", at + 4);
            const size_t end = close == std::string_view::npos ? page.size() : close + 3;
            pieces.emplace_back(CPiece::Comment, page.substr(at, end - at));
            at = end;
        } else {
            pieces.push_back(TagPiece(page.substr(at, TagEnd(page, at) - at)));
            at += pieces.back().Bytes.size();
        }
        if (OpensRawText(pieces.back())) {
            const size_t close = FindNoCase(page, "</" + pieces.back().Name, at);
            pieces.emplace_back(CPiece::Raw, page.substr(at, close - at));
            at = close;
        }
        text = at;
    }
    if (text < page.size()) pieces.emplace_back(CPiece::Text, page.substr(text));
    return pieces;
}

bool IsBlankRun(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    });
}

// The page without the blank runs between a '>' and a '<', but for those
// inside pre (script and style contents are not text runs).
std::string Minified(std::string_view page)
{
    const std::vector<CPiece> pieces = PiecesOf(page);
    std::string minified;
    int preDepth = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const CPiece& piece = pieces[i];
        if (piece.Kind == CPiece::Tag && piece.Name == "pre")
            preDepth = std::max(0, preDepth + (piece.EndTag ? -1 : 1));
        const bool betweenTags = i > 0 && i + 1 < pieces.size() &&
                                 pieces[i - 1].Kind != CPiece::Text &&
                                 pieces[i + 1].Kind != CPiece::Text;
        if (piece.Kind == CPiece::Text && betweenTags && preDepth == 0 && IsBlankRun(piece.Bytes))
            continue;
        minified += piece.Bytes;
    }
    return minified;
}

// Inline elements of HTML and WML put nothing between the texts around their
// tags, nor do scripts and styles: those tags leave a word whole. Every
// other tag ends it.
bool LeavesWordWhole(const std::string& name)
{
    static const std::unordered_set<std::string> names = {
        "a", "abbr", "acronym", "anchor", "b", "bdi", "bdo", "big", "blink", "cite", "code",
        "data", "del", "dfn", "em", "font", "i", "ins", "kbd", "label", "mark", "nobr", "s",
        "samp", "script", "small", "span", "strike", "strong", "style", "sub", "sup", "time",
        "tt", "u", "var", "wbr"};
    return names.count(name) != 0;
}

// Blanks, punctuation and symbols end a word; every other code point is a
// letter of one.
bool EndsWord(uint32_t code)
{
    if (code < 0x80) return !IsAsciiAlphanumeric(static_cast<char>(code));
    return code <= 0xBF || code == 0xD7 || code == 0xF7 || (code >= 0x2000 && code <= 0x2BFF) ||
           (code >= 0x3000 && code <= 0x303F) || code == 0xFFFD;
}

void AppendUtf8(uint32_t code, std::string& out)
{
    if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (code & 0x3F));
}

// The code points of a reference in the deck's form: "&#N;", "&#xH;", one
// of WML's seven names, or a '$' that stands for itself.
std::vector<uint32_t> CodesOfDeckForm(const std::string& form)
{
    static const std::vector<std::pair<std::string, uint32_t>> wmlNames = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'},
        {"apos", '\''}, {"nbsp", 0xA0}, {"shy", 0xAD}};
    std::vector<uint32_t> codes;
    for (size_t at = 0; at < form.size();) {
        const size_t semicolon = form.find(';', at);
        if (form[at] != '&' || semicolon == std::string::npos) {
            codes.push_back(static_cast<unsigned char>(form[at++]));
            continue;
        }
        const std::string body = form.substr(at + 1, semicolon - at - 1);
        at = semicolon + 1;
        if (!body.empty() && body[0] == '#') {
            const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
            const unsigned long code = std::stoul(body.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10);
            codes.push_back(static_cast<uint32_t>(code));
            continue;
        }
        for (const auto& name : wmlNames)
            if (name.first == body) codes.push_back(name.second);
    }
    return codes;
}

// The length of the UTF-8 sequence at `p` and its code point in `code`, or 0
// when no well-formed sequence of two or more bytes starts there.
size_t Utf8Sequence(const char* p, const char* end, uint32_t& code)
{
    const unsigned char lead = static_cast<unsigned char>(*p);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    const size_t length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || static_cast<size_t>(end - p) < length) return 0;
    code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(p[i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    const uint32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    return code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) ? length : 0;
}

// Splits the texts of `pieces` into words and hands each to `take`. A page's
// references and the deck's are read through the deck's form of them, so
// that both sides read a reference alike. A well-formed UTF-8 sequence is
// read as its code point; any other byte from 0x80 on is a letter, as the
// letters of the single-byte encodings lie there (a deck keeps its page's
// encoding).
void ForEachWord(const std::vector<CPiece>& pieces,
                 const std::function<void(const std::string&)>& take)
{
    std::string word;
    auto endWord = [&] {
        if (!word.empty()) take(word);
        word.clear();
    };
    auto addCode = [&](uint32_t code) {
        if (EndsWord(code))
            endWord();
        else if (code < 0x80)
            word += static_cast<char>(code);
        else
            AppendUtf8(code, word);
    };
    std::string form;
    for (const CPiece& piece : pieces) {
        if (piece.Kind == CPiece::Tag && !LeavesWordWhole(piece.Name)) endWord();
        if (piece.Kind != CPiece::Text) continue;
        const char* end = piece.Bytes.data() + piece.Bytes.size();
        for (const char* p = piece.Bytes.data(); p < end;) {
            form.clear();
            const size_t read = *p == '&' ? AppendReference(p, end, false, form) : 0;
            if (read != 0) {
                for (uint32_t code : CodesOfDeckForm(form)) addCode(code);
                p += read;
                continue;
            }
            uint32_t code = 0;
            const size_t length = Utf8Sequence(p, end, code);
            if (length != 0) {
                addCode(code);
                p += length;
                continue;
            }
            word += *p++;
        }
    }
    endWord();
}

// The words of the page's texts, and those inside its comments: the
// converter ends a comment at its first '>', so the rest of a comment that
// holds a tag reaches the deck as text.
std::unordered_set<std::string> PageWords(const std::vector<CPiece>& pieces)
{
    std::unordered_set<std::string> words;
    auto take = [&words](const std::string& word) { words.insert(word); };
    ForEachWord(pieces, take);
    std::vector<CPiece> comments;
    for (const CPiece& piece : pieces)
        if (piece.Kind == CPiece::Comment) comments.emplace_back(CPiece::Text, piece.Bytes);
    ForEachWord(comments, take);
    return words;
}

// "a + b" when `word` is the page's words a and b end to end, else "".
std::string TwoPageWords(const std::string& word, const std::unordered_set<std::string>& page)
{
    for (size_t cut = 1; cut < word.size(); ++cut)
        if (page.count(word.substr(0, cut)) != 0 && page.count(word.substr(cut)) != 0)
            return word.substr(0, cut) + " + " + word.substr(cut);
    return "";
}

// The failure names the first pages with glued words, the first of them on
// each page and how many.
TEST(Corpus, NoWordIsTwoWordsOfThePageGlued)
{
    if (!fs::is_directory(CorpusFolder())) GTEST_SKIP() << "no corpus at " << CorpusFolder();
    size_t deckWords = 0;
    size_t glued = 0;
    size_t gluedPages = 0;
    std::string pages;
    for (const fs::path& path : CorpusPages()) {
        const std::string page = Minified(ReadFile(path.string()));
        const std::unordered_set<std::string> pageWords = PageWords(PiecesOf(page));
        size_t gluedHere = 0;
        std::string first;
        ForEachWord(PiecesOf(ConvertPage(page)), [&](const std::string& word) {
            ++deckWords;
            if (pageWords.count(word) != 0) return;
            const std::string parts = TwoPageWords(word, pageWords);
            if (parts.empty()) return;
            if (gluedHere++ == 0) first = word + " = " + parts;
        });
        glued += gluedHere;
        if (gluedHere != 0 && ++gluedPages <= 20)
            pages += "\n  " + path.stem().string() + ": " + first + " (" +
                     std::to_string(gluedHere) + " in all)";
    }
    const double share =
        100.0 * static_cast<double>(glued) / static_cast<double>(std::max<size_t>(deckWords, 1));
    EXPECT_EQ(glued, 0u) << glued << " of " << deckWords << " deck words ("
                         << std::setprecision(3) << share
                         << "%), on " << gluedPages << " pages, are two words of their page glued:"
                         << pages;
}

}  // namespace
