#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/Xmlnode.h"

namespace {

class CTokenRecorder : public CCustomXmlParser {
public:
    std::vector<std::string> Tokens;
    void OnToken(CXmlNode*, CXmlObject* token) override { Tokens.emplace_back(token->GetText()); }
};

using Tokens = std::vector<std::string>;

Tokens Tokenize(const std::string& text)
{
    CTokenRecorder recorder;
    recorder.Tokenize(nullptr, text.data(), static_cast<int>(text.size()));
    return recorder.Tokens;
}

TEST(Tokenizer, TextAndTags)
{
    EXPECT_EQ(Tokenize("Hello <b>world</b>!"), (Tokens{"Hello ", "<b>", "world", "</b>", "!"}));
    EXPECT_EQ(Tokenize("no tags > here"), (Tokens{"no tags > here"}));
    EXPECT_EQ(Tokenize("x"), (Tokens{"x"}));
    EXPECT_EQ(Tokenize("<p>"), (Tokens{"<p>"}));
    EXPECT_EQ(Tokenize(""), Tokens{});

    CTokenRecorder recorder;
    recorder.Tokenize(nullptr, "abc", -1);
    EXPECT_EQ(recorder.Tokens, Tokens{});
}

TEST(Tokenizer, DoubleQuotesProtectTagEndsUntilALineEnd)
{
    EXPECT_EQ(Tokenize("<a title=\"x>y\" href=z>t"), (Tokens{"<a title=\"x>y\" href=z>", "t"}));
    EXPECT_EQ(Tokenize("<a title=\"x\n>t"), (Tokens{"<a title=\"x\n>", "t"}));
    EXPECT_EQ(Tokenize("<a title='x>y'>"), (Tokens{"<a title='x>", "y'>"}));
    EXPECT_EQ(Tokenize("<!-- a > b -->"), (Tokens{"<!-- a >", " b -->"}));
    // Quotes in text outside tags mean nothing.
    EXPECT_EQ(Tokenize("say \"<b>\""), (Tokens{"say \"", "<b>", "\""}));
}

TEST(Tokenizer, UnfinishedTags)
{
    EXPECT_EQ(Tokenize("abc<b"), (Tokens{"abc"}));
    EXPECT_EQ(Tokenize("abc<b title=\"x>"), (Tokens{"abc"}));
    EXPECT_EQ(Tokenize("<a <b>c"), (Tokens{"<a ", "<b>", "c"}));
    // The last byte is flushed with the text before it when no tag is open.
    EXPECT_EQ(Tokenize("a<"), (Tokens{"a<"}));
    EXPECT_EQ(Tokenize("<b>x"), (Tokens{"<b>", "x"}));
}

TEST(Tokenizer, ScriptBlocksKeepTheirContent)
{
    EXPECT_EQ(Tokenize("<% if a > b then %>x"), (Tokens{"<% if a > b then %>", "x"}));
    EXPECT_EQ(Tokenize("<% x = \"%>\" %>"), (Tokens{"<% x = \"%>\" %>"}));
    EXPECT_EQ(Tokenize("<% ' it's done %>"), (Tokens{"<% ' it's done %>"}));
    EXPECT_EQ(Tokenize("<% ' say \"hi %> x"), (Tokens{"<% ' say \"hi %>", " x"}));
    EXPECT_EQ(Tokenize("<% // say \"hi %> x"), (Tokens{"<% // say \"hi %>", " x"}));
    EXPECT_EQ(Tokenize("<% /* a %> b */ %>"), (Tokens{"<% /* a %>", " b */ %>"}));
    EXPECT_EQ(Tokenize("<% /* a */ x %>"), (Tokens{"<% /* a */ x %>"}));
    // A block comment outlives line ends; a line comment does not.
    EXPECT_EQ(Tokenize("<% /* \"\n\" */ x = \"%>\" %>"),
              (Tokens{"<% /* \"\n\" */ x = \"%>\" %>"}));
    EXPECT_EQ(Tokenize("<% ' a\nx = \"%>\" %>"), (Tokens{"<% ' a\nx = \"%>\" %>"}));
    // '<' inside a script starts no tag.
    EXPECT_EQ(Tokenize("<% a < b %>"), (Tokens{"<% a < b %>"}));
}

// A line that holds only blanks before REM is a line comment, so its double
// quote protects nothing and the first "%>" ends the block.
TEST(Tokenizer, RemLineCommentsInScripts)
{
    for (const char* rem : {"REM", "rEM", "ReM", "reM"}) {
        const std::string page = std::string("<%\n  ") + rem + " \"%>\" x %>";
        EXPECT_EQ(Tokenize(page), (Tokens{std::string("<%\n  ") + rem + " \"%>", "\" x %>"}))
            << rem;
    }
    for (const char* word : {"Rem", "rem", "ECHO"}) {
        const std::string page = std::string("<%\n") + word + " \"%>\" x %>";
        EXPECT_EQ(Tokenize(page), (Tokens{page})) << word;
    }
    EXPECT_EQ(Tokenize("t<%  REM \"%>\" x %>"), (Tokens{"t", "<%  REM \"%>", "\" x %>"}));
    EXPECT_EQ(Tokenize("<%\nx REM \"%>\" %>"), (Tokens{"<%\nx REM \"%>\" %>"}));
}

TEST(Tokenizer, NulBytesEndTheTokenText)
{
    const std::string page("a\0b<i>c", 7);
    EXPECT_EQ(Tokenize(page), (Tokens{"a", "<i>", "c"}));
}

// Inside a tag the bytes between quotes and tag ends are passed in blocks: a
// quote or tag end is seen wherever it falls in one.
TEST(Tokenizer, LongTagsEndWhereTheirQuotesAllow)
{
    for (size_t at = 0; at < 40; ++at) {
        const std::string value(at, 'v');
        EXPECT_EQ(Tokenize("<a title=\"" + value + "\">x"),
                  (Tokens{"<a title=\"" + value + "\">", "x"}))
            << "value of " << at << " bytes";
        EXPECT_EQ(Tokenize("<a " + value + ">x"), (Tokens{"<a " + value + ">", "x"}));
    }
    EXPECT_EQ(Tokenize("<a title=\"" + std::string(30, 'v') + ">" + std::string(20, 'w') + "\">x"),
              (Tokens{"<a title=\"" + std::string(30, 'v') + ">" + std::string(20, 'w') + "\">", "x"}));
}

// Text runs are scanned for a '<' many bytes at a time: a tag at any place
// of a run, and a '<' as a run's last byte, are found as one byte at a time.
TEST(Tokenizer, TextRunsEndAtTheirTagWhereverItLies)
{
    for (size_t at = 1; at < 40; ++at) {
        const std::string run(at, 't');
        EXPECT_EQ(Tokenize(run + "<b>" + run), (Tokens{run, "<b>", run})) << at << " bytes";
        EXPECT_EQ(Tokenize(run + "<"), (Tokens{run + "<"})) << at << " bytes";
    }
}

}  // namespace
