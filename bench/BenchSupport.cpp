#include "BenchSupport.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "library/Exports.h"

namespace {

std::vector<CPage> LoadFolder(const std::string& folder)
{
    std::vector<CPage> pages;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return pages;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() < 5 || (name.compare(name.size() - 5, 5, ".html") != 0 &&
                                name.compare(name.size() - 4, 4, ".htm") != 0))
            continue;
        std::ifstream in(folder + "/" + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        pages.push_back({name, text.str()});
    }
    closedir(dir);
    std::sort(pages.begin(), pages.end(),
              [](const CPage& a, const CPage& b) { return a.Name < b.Name; });
    return pages;
}

}  // namespace

std::vector<CPage> LoadBenchPages()
{
    std::vector<CPage> pages = LoadFolder(QUORREL_CORPUS_DIR);
    if (pages.empty()) pages = LoadFolder(QUORREL_EXAMPLES_DIR);
    return pages;
}

int ConvertForBench(const std::string& page, std::vector<char>& buffer)
{
    if (buffer.size() < page.size() * 4 + 65536) buffer.resize(page.size() * 4 + 65536);
    int capacity = static_cast<int>(buffer.size());
    return ConvertPage(nullptr, page.data(), static_cast<int>(page.size()), buffer.data(),
                       capacity);
}

std::string NestedPage(const char* tag, size_t count)
{
    std::string open = std::string("<") + tag + ">x";
    std::string page;
    page.reserve(open.size() * count);
    for (size_t i = 0; i < count; ++i) page += open;
    return page;
}

std::string SiblingPage(size_t count)
{
    std::string page;
    page.reserve(count * 10);
    for (size_t i = 0; i < count; ++i) page += "<b>x</b> ";
    return page;
}

std::string StrayEndTagPage(size_t count)
{
    std::string page = NestedPage("p", count);
    page.reserve(page.size() + count * 4);
    for (size_t i = 0; i < count; ++i) page += "</x>";
    return page;
}

namespace {

std::string Repeated(const std::string& head, const std::string& unit, size_t count,
                     const std::string& tail)
{
    std::string page = head;
    page.reserve(head.size() + unit.size() * count + tail.size());
    for (size_t i = 0; i < count; ++i) page += unit;
    return page + tail;
}

}  // namespace

std::string NamedAnchorPage(size_t count)
{
    std::string page;
    page.reserve(count * 28);
    for (size_t i = 0; i < count; ++i)
        page += "<a name=\"c" + std::to_string(i) + "\"></a>x<br>";
    return page;
}

std::string SubmitButtonPage(size_t count)
{
    return Repeated("<form action=\"/s\"><input name=\"q\">",
                    "<input type=\"submit\" name=\"s\" value=\"Go\">", count, "</form>");
}

std::string AttributePage(size_t count)
{
    std::string tag = "<b";
    for (int i = 0; i < 24; ++i)
        tag += " a" + std::to_string(i) + "=\"v" + std::to_string(i) + "\"";
    return Repeated("", tag + ">x</b> ", count, "");
}

std::string SmallFormPage(size_t count)
{
    return Repeated(
        "", "<form action=\"/f\"><input name=\"q\"><input type=\"submit\" value=\"Go\"></form>",
        count, "");
}

std::string TableRowPage(size_t count)
{
    return Repeated("<table>", "<tr><td>a</td><td>b</td></tr>", count, "</table>");
}
