#include <gtest/gtest.h>

#include <string>

#include "conversion/Conversion.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

const auto npos = std::string::npos;

// A parsed page (tree builder only); every test checks its links at the end.
struct CTablePage {
    explicit CTablePage(const std::string& page)
    {
        Root.Parse(page.data(), static_cast<int>(page.size()));
    }
    ~CTablePage() { EXPECT_EQ(CheckLinks(&Root), ""); }

    CXmlNode* Table() const { return Root.GetFirstChild(); }
    CXmlNode* FirstRow() const { return Root.GetFirstChild()->GetFirstChild(); }

    CXmlNode Root;
};

int Columns(const std::string& table)
{
    CTablePage page(table);
    return CountTableColumns(page.Table());
}

std::string Row(const std::string& cells)
{
    return "<table><tr>" + cells + "</tr></table>";
}

TEST(Tables, ColumnsAreTheWidestRowOfDirectRows)
{
    EXPECT_EQ(Columns("<table></table>"), 0);
    EXPECT_EQ(Columns("<table><tr><td>a</td><th>b</th></tr><tr><td/></tr>"
                      "<tr><td>a</td><td>b</td><td>c</td></tr></table>"),
              3);
    // Rows under an intermediate element and text between cells do not count.
    EXPECT_EQ(Columns("<table><tbody><tr><td>a</td></tr></tbody></table>"), 0);
    EXPECT_EQ(Columns(Row("x<td>a</td> <p>b</p>")), 1);
}

TEST(Tables, ColumnSpansAreClampedToOneToSixtyFour)
{
    EXPECT_EQ(Columns(Row("<td colspan=\"0\">a</td>")), 1);
    EXPECT_EQ(Columns(Row("<td colspan=\"-2\">a</td>")), 1);
    EXPECT_EQ(Columns(Row("<td colspan=\"x\">a</td>")), 1);
    EXPECT_EQ(Columns(Row("<td colspan=\"\">a</td>")), 1);
    EXPECT_EQ(Columns(Row("<td colspan=\"100\">a</td>")), 64);
    EXPECT_EQ(Columns(Row("<td colspan=\"99999999999999999999\">a</td>")), 64);
    EXPECT_EQ(Columns(Row("<td colspan=\"3px\">a</td>")), 3);
    EXPECT_EQ(Columns(Row("<td colspan=\" +2\">a</td><th colspan=\"2\">b</th>")), 4);
}

TEST(Tables, PaddingGrowsWithThePageNotWithItsSquare)
{
    std::string wide;
    for (int i = 0; i < 10; ++i) wide += "<td colspan=\"64\">w</td>";
    EXPECT_EQ(Columns(Row(wide + "</tr><tr><td>a</td>")), 64);

    std::string page = "<table><tr>" + wide + "</tr>";
    for (int i = 0; i < 100; ++i) page += "<tr><td>a</td></tr>";
    const std::string deck = ConvertPage(page + "</table>");
    std::string padded = "\r\n<td>a</td>";
    for (int i = 1; i < 64; ++i) padded += "<td/>";
    EXPECT_NE(deck.find(padded + "\r\n</tr>"), npos);
    EXPECT_LT(deck.size(), 100u * 64 * 5 * 2);
}

TEST(Tables, SpansBecomeFillersAfterTheirCellAndRowsArePadded)
{
    CTablePage page("<table columns=\"6\"><tr><td colspan=\"3\" id=\"k\">a</td><td>b</td>"
                    "<td colspan=\"2\"/></tr></table>");
    CXmlNode* row = page.FirstRow();
    NormalizeTableRow(row);
    EXPECT_EQ(DumpTree(row),
              "<td colspan=\"3\" id=\"k\">\n  a\n</td>\n<td/>\n<td/>\n"
              "<td>\n  b\n</td>\n<td colspan=\"2\"/>\n<td/>\n");
    // The cell model keeps lang, id and class only.
    const CXmlObject* first = row->GetFirstChild()->GetObject();
    EXPECT_EQ(first->GetAttribute("colspan"), nullptr);
    EXPECT_STREQ(first->GetAttribute("id"), "k");

    CTablePage padded("<table columns=\"3\"><tr><td>a</td></tr></table>");
    NormalizeTableRow(padded.FirstRow());
    EXPECT_EQ(DumpTree(padded.FirstRow()), "<td>\n  a\n</td>\n<td/>\n<td/>\n");

    // A row whose parent has no column count gets no padding.
    CTablePage body("<tbody><tr><td>a</td></tr></tbody>");
    NormalizeTableRow(body.FirstRow());
    EXPECT_EQ(DumpTree(body.FirstRow()), "<td>\n  a\n</td>\n");
}

// The rows become lines when the cell's filter unwraps them; cells with
// content, td or th, stand apart by a blank.
TEST(Tables, NestedCellsWithContentStartWithABlank)
{
    CTablePage page("x<table/><table><tr><td></td><td>a</td><th>h</th></tr></table>");
    FlattenNestedTables(page.Root.GetFirstChild());
    EXPECT_EQ(DumpTree(&page.Root),
              "x\n<table/>\n<br/>\n<table>\n  <tr>\n    <td>\n    </td>\n"
              "    <td>\n       \n      a\n    </td>\n    <th>\n       \n      h\n    </th>\n"
              "  </tr>\n</table>\n");
}

TEST(Tables, EmptyTableTagLeavesLaterTablesOutermost)
{
    const std::string deck =
        ConvertPage("<table/><table><tr><td>a</td></tr><tr><td>b</td><td>c</td></tr></table>");
    EXPECT_NE(deck.find("<table columns=\"2\">\r\n<tr>\r\n<td>a</td><td/>\r\n</tr>"), npos);
}

TEST(Tables, DeeplyNestedCellContentConvertsOnASmallStack)
{
    const int depth = 100000;
    std::string page = "<table><tr><td>top<table><tr><td>";
    for (int i = 0; i < depth; ++i) page += "<span>";
    page += "deep</td></tr></table></td></tr></table>";
    std::string deck;
    RunOnSmallStack([&] { deck = ConvertPage(page); });
    EXPECT_NE(deck.find("<td>top<br/>deep</td>"), npos);
}

}  // namespace
