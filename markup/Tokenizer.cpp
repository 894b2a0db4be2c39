#include "markup/Xmlnode.h"

#include <cstring>

#include "platform/ByteScan.h"

namespace {

enum class CommentCloser { None, Apostrophe, LineSlashes, Block };

// Inside a tag, outside scripts, only these bytes change the scanner's state.
constexpr CByteSet TagStops = {'\r', '\n', '"', '%', '<', '>'};
// Between tags only a '<' does.
constexpr CByteSet TagOpen = {'<'};

// Scanner state of one Tokenize call.
struct CScanner {
    const char* Text;
    int Length;
    int TokenStart = 0;
    bool InTag = false;
    bool InQuote = false;
    bool InScript = false;
    CommentCloser Comment = CommentCloser::None;

    bool InComment() const { return Comment != CommentCloser::None; }
    char At(int p) const { return p >= 0 ? Text[p] : '\0'; }

    // A script line that holds only blanks before "REM" (back to a line end or
    // to the "<%" of its block) opens an apostrophe-style line comment.
    void LookBackForRem(int p)
    {
        for (int q = p - 3; q >= 0; --q) {
            const char c = Text[q];
            if (c == '\r' || c == '\n' || (q > 1 && c == '%' && Text[q - 1] == '<'))
                Comment = CommentCloser::Apostrophe;
            else if (c != ' ')
                return;
        }
    }
};

}  // namespace

void CCustomXmlParser::OnTokenText(CXmlNode* root, const char* text, int length)
{
    CXmlObject token;
    token.SetText(text, length);
    OnToken(root, &token);
}

void CCustomXmlParser::Tokenize(CXmlNode* root, const char* text, int length)
{
    if (text == nullptr || length <= 0) return;
    CScanner s{text, length};
    // A token ends at a NUL among its bytes; a page that holds none, as every
    // page read for a deck, is not searched for one token by token.
    const bool holdsNul = memchr(text, '\0', static_cast<size_t>(length)) != nullptr;
    auto emit = [&](int from, int to) {
        int size = to - from + 1;
        if (holdsNul) {
            const void* nul = memchr(text + from, '\0', static_cast<size_t>(size));
            if (nul != nullptr) size = static_cast<int>(static_cast<const char*>(nul) - (text + from));
        }
        OnTokenText(root, text + from, size);
    };
    for (int p = 0; p < length; ++p) {
        // Between tags only a '<' can change anything, and the last byte
        // never opens a tag.
        if (!s.InTag && p < length - 1) {
            p = static_cast<int>(TagOpen.FindFirst(text, static_cast<size_t>(p),
                                                   static_cast<size_t>(length - 1)));
        } else if (s.InTag && !s.InScript && !s.InComment()) {
            p = static_cast<int>(TagStops.FindFirst(text, static_cast<size_t>(p),
                                                    static_cast<size_t>(length)));
            if (p == length) break;
        }
        const char b = text[p];
        if (p == length - 1 && !s.InTag) {
            if (p >= s.TokenStart) emit(s.TokenStart, p);
            break;
        }
        switch (b) {
        case '\r':
        case '\n':
            s.InQuote = false;
            if (s.Comment == CommentCloser::Apostrophe || s.Comment == CommentCloser::LineSlashes)
                s.Comment = CommentCloser::None;
            break;
        case '"':
            if (s.InTag && !s.InComment()) s.InQuote = !s.InQuote;
            break;
        case '%':
            if (s.InTag && !s.InQuote && !s.InComment() && !s.InScript && p > 0 &&
                s.At(p - 1) == '<')
                s.InScript = true;
            break;
        case '\'':
            if (s.InScript && !s.InQuote && !s.InComment()) s.Comment = CommentCloser::Apostrophe;
            break;
        case '*':
            if (s.InScript && !s.InComment() && !s.InQuote && p > 1 && s.At(p - 1) == '/')
                s.Comment = CommentCloser::Block;
            break;
        case '/':
            if (s.InScript && !s.InComment() && !s.InQuote) {
                if (p > 1 && s.At(p - 1) == '/') s.Comment = CommentCloser::LineSlashes;
            } else if (s.InComment() && p > 1 && s.At(p - 1) == '*' &&
                       s.Comment == CommentCloser::Block) {
                s.Comment = CommentCloser::None;
            }
            break;
        case '<':
            if (!s.InQuote && !s.InComment() && !s.InScript) {
                if (s.TokenStart < p) emit(s.TokenStart, p - 1);
                s.TokenStart = p;
                s.InTag = true;
            }
            break;
        case '>':
            if (s.InComment() && s.InScript && s.At(p - 1) == '%') s.Comment = CommentCloser::None;
            if (s.InTag && !s.InQuote && !s.InComment() && (!s.InScript || s.At(p - 1) == '%')) {
                emit(s.TokenStart, p);
                s.TokenStart = p + 1;
                s.InTag = false;
                s.InScript = false;
                s.Comment = CommentCloser::None;
            }
            break;
        case 'M':
            if (s.InScript && !s.InQuote && !s.InComment() && p > 1 &&
                (s.At(p - 1) == 'E' || s.At(p - 1) == 'e') &&
                (s.At(p - 2) == 'R' || s.At(p - 2) == 'r'))
                s.LookBackForRem(p);
            break;
        default:
            break;
        }
    }
}
