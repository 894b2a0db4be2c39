// Pages for the benchmarks and one conversion through the library's road.
#pragma once

#include <string>
#include <vector>

struct CPage {
    std::string Name;
    std::string Text;
};

// Every page of the corpus folder, or of examples/ when the corpus is missing.
std::vector<CPage> LoadBenchPages();
// Converts one page with the built-in defaults; returns the deck's length.
int ConvertForBench(const std::string& page, std::vector<char>& buffer);
// Hostile pages: nested unclosed tags, siblings, nested tags then stray end tags.
std::string NestedPage(const char* tag, size_t count);
std::string SiblingPage(size_t count);
std::string StrayEndTagPage(size_t count);
// Shapes that once made a rule search the whole page: named anchors without an
// html element, one form of many submit buttons; and tags of many attributes,
// many small forms, a table of many rows.
std::string NamedAnchorPage(size_t count);
std::string SubmitButtonPage(size_t count);
std::string AttributePage(size_t count);
std::string SmallFormPage(size_t count);
std::string TableRowPage(size_t count);
