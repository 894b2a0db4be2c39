#include <gtest/gtest.h>

#include <dirent.h>

#include <cstring>
#include <string>
#include <vector>

#include "conversion/Conversion.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

// Writes into a buffer of exactly the measured length + 1, so a bound that
// is too small shows as an overflow under the sanitizers and as a failure here.
std::string Written(const CXmlNode& root, long long* bound = nullptr)
{
    const long long measured = root.GetWriteLength(LineBreakElements);
    std::vector<char> buffer(static_cast<size_t>(measured) + 1, '#');
    root.Write(buffer.data(), LineBreakElements);
    const size_t length = strlen(buffer.data());
    EXPECT_LE(static_cast<long long>(length), measured);
    if (bound != nullptr) *bound = measured;
    return std::string(buffer.data(), length);
}

std::string Written(const std::string& page, long long* bound = nullptr)
{
    CXmlNode root;
    root.Parse(page.data(), static_cast<int>(page.size()));
    return Written(root, bound);
}

TEST(Writer, BlockTagsGetLinesOfTheirOwnWithoutBlankLines)
{
    EXPECT_EQ(Written("<?xml version=\"1.0\"?><!DOCTYPE wml><wml><card id=\"c\"><p>Hello</p>"
                      "</card></wml>"),
              "<?xml version=\"1.0\"?>\r\n<!DOCTYPE wml>\r\n<wml>\r\n<card id=\"c\">\r\n"
              "<p>\r\nHello\r\n</p>\r\n</card>\r\n</wml>\r\n");
    long long bound = 0;
    const std::string inline_ = Written("<wml><p>a <b>bold</b></p></wml>", &bound);
    EXPECT_EQ(inline_, "<wml>\r\n<p>\r\na <b>bold</b>\r\n</p>\r\n</wml>\r\n");
    // The allowances of <b> and </b>, and the leading pair <p> did not need.
    EXPECT_EQ(bound, static_cast<long long>(inline_.size()) + 4 + 4 + 2);
}

TEST(Writer, DirectChildrenOfTheRootGetNoLeadingLineEnd)
{
    long long bound = 0;
    EXPECT_EQ(Written("x<p>y</p><!-- c --><P>z", &bound), "x<p>\r\ny</p>\r\n<!-- c --><P>\r\nz");
    EXPECT_EQ(bound, 29);
    EXPECT_EQ(Written("<wml>x<!DOCTYPE a><do>"), "<wml>\r\nx\r\n<!DOCTYPE a>\r\n<do>\r\n");
}

TEST(Writer, EmptiedNamesWriteOnlyTheirChildren)
{
    CXmlNode root;
    const std::string page = "<font>x<!DOCTYPE a></font><?pi?>";
    root.Parse(page.data(), static_cast<int>(page.size()));
    for (CXmlNode* node = root.GetFirstChild(); node != nullptr; node = node->GetNextNode())
        if (node->IsTag()) node->GetObject()->SetName("");
    EXPECT_EQ(Written(root), "x\r\n<!DOCTYPE a>\r\n<?pi?>\r\n");

    CXmlNode empty;
    long long bound = -1;
    EXPECT_EQ(Written(empty, &bound), "");
    EXPECT_EQ(bound, 0);
}

std::vector<std::string> CorpusPages()
{
    std::vector<std::string> pages;
    const std::string folder = QUORREL_SOURCE_DIR "/../shared/corpus/";
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.find(".htm") != std::string::npos) pages.push_back(folder + name);
        }
        closedir(dir);
    }
    return pages;
}

// Parsed pages and the same pages after the conversion passes.
TEST(Writer, LengthBoundHoldsForEveryCorpusPage)
{
    const std::vector<std::string> pages = CorpusPages();
    if (pages.empty()) GTEST_SKIP() << "no corpus beside the checkout";
    for (const std::string& path : pages) {
        const std::string page = ReadFile(path);
        CXmlNode parsed;
        parsed.Parse(page.data(), static_cast<int>(page.size()));
        Written(parsed);
        CXmlNode converted;
        converted.Parse(page.data(), static_cast<int>(page.size()));
        NormalizeTree(&converted);
        XHtmlToWml(&converted);
        EXPECT_EQ(CheckLinks(&converted), "") << path;
        Written(converted);
    }
}

}  // namespace
