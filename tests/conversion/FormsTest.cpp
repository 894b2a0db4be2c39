#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

const auto npos = std::string::npos;

// A parsed page (tree builder only) converted as part of the form with the
// given number of forms before it.
struct CFormPage {
    CFormPage(const std::string& page, int formsBefore)
    {
        Root.Parse(page.data(), static_cast<int>(page.size()));
        Root.GetWorkingVariables()->FormCount = formsBefore;
    }
    ~CFormPage() { EXPECT_EQ(CheckLinks(&Root), ""); }

    CXmlNode* First() const { return Root.GetFirstChild(); }
    CXmlNode* Last() const { return Root.GetLastChild(); }

    CXmlNode Root;
};

std::string Variable(const std::string& control, int formsBefore)
{
    CFormPage page(control, formsBefore);
    return GetVariableName(page.First());
}

std::string Field(const std::string& control, int formsBefore)
{
    CFormPage page(control, formsBefore);
    return GetPostfieldName(page.First());
}

TEST(Forms, FirstFormKeepsPlainNamesInLowerCase)
{
    EXPECT_EQ(Variable("<input name=\"User\"/>", 0), "user");
    EXPECT_EQ(Field("<input name=\"User\"/>", 0), "user");
    EXPECT_EQ(Variable("<input name=\"f0_X\"/>", 0), "f0_x");
    EXPECT_EQ(Field("<input name=\"f0_X\"/>", 0), "x");
    EXPECT_EQ(Variable("<select NAME=\"Color\"></select>", 0), "color");
}

TEST(Forms, LaterFormsPrefixTheirVariablesOnce)
{
    EXPECT_EQ(Variable("<input type=\"password\" name=\"Pin\"/>", 1), "f1_pin");
    EXPECT_EQ(Field("<input type=\"password\" name=\"Pin\"/>", 1), "pin");
    // A control that the main pass has already named keeps its variable.
    EXPECT_EQ(Variable("<input name=\"f1_pin\"/>", 1), "f1_pin");
    EXPECT_EQ(Field("<input name=\"f1_pin\"/>", 1), "pin");
    // The prefix test is exact, before lower-casing.
    EXPECT_EQ(Variable("<input name=\"F1_x\"/>", 1), "f1_f1_x");
    EXPECT_EQ(Field("<input name=\"F1_x\"/>", 1), "f1_x");
    EXPECT_EQ(Variable("<input name=\"f1_x\"/>", 12), "f12_f1_x");
    EXPECT_EQ(Field("<input name=\"f12_x\"/>", 12), "x");
}

TEST(Forms, MissingOrEmptyNamesGiveNoName)
{
    for (int formsBefore : {0, 1}) {
        EXPECT_EQ(Variable("<input/>", formsBefore), "");
        EXPECT_EQ(Field("<input/>", formsBefore), "");
        EXPECT_EQ(Variable("<input name=\"\"/>", formsBefore), "");
        EXPECT_EQ(Field("<input name=\"\"/>", formsBefore), "");
    }
}

TEST(Forms, PostfieldsFollowDocumentOrderAndSkipWhatSendsNothing)
{
    CFormPage page(
        "<p>Name <input name=\"a\"/></p>"
        "<select name=\"B\"><option value=\"1\">One</option></select>"
        "<input type=\"hidden\" name=\"c\" value=\"x&amp;y\"/>"
        "<input type=\"checkbox\" name=\"d\" value=\"1\"/>"
        "<input type=\"hidden\" name=\"e\"/>"
        "<input name=\"\"/><input type=\"text\"/><b name=\"z\">b</b>"
        "<textarea name=\"f\">t</textarea>"
        "<input type=\"hidden\" name=\"h\" value=\"\"/>"
        "<div><input TYPE=\"PASSWORD\" name=\"g\"/></div>"
        "<go></go>",
        1);
    CXmlNode* go = page.Last()->GetPreviousSibling();
    AddFormPostfields(page.First(), go);
    EXPECT_EQ(DumpTree(go),
              "<postfield name=\"a\" value=\"$(f1_a)\"/>\n"
              "<postfield name=\"b\" value=\"$(f1_b)\"/>\n"
              "<postfield name=\"c\" value=\"x&amp;y\"/>\n"
              "<postfield name=\"f\" value=\"$(f1_f)\"/>\n"
              "<postfield name=\"h\" value=\"\"/>\n"
              "<postfield name=\"g\" value=\"$(f1_g)\"/>\n");
}

TEST(Forms, LongNamesAndValuesAreNeverCut)
{
    const std::string name(100000, 'N');
    const std::string lower(100000, 'n');
    const std::string value(100000, 'v');
    EXPECT_EQ(Variable("<input name=\"" + name + "\"/>", 1), "f1_" + lower);
    EXPECT_EQ(Field("<input name=\"f1_" + name + "\"/>", 1), lower);
    EXPECT_EQ(FormatText("Go: %s! %% %s", value.c_str()), "Go: " + value + "! % %s");

    const std::string deck = ConvertPage(
        "<form action=\"a\"><input name=\"" + name + "\"><input type=\"submit\" name=\"" + name +
        "\" value=\"" + value + "\"></form><form action=\"b\"><input name=\"" + name +
        "\"><input type=\"submit\"></form>");
    EXPECT_NE(deck.find("\r\n<input name=\"" + lower + "\" type=\"text\"/>\r\n"), npos);
    EXPECT_NE(deck.find("<anchor title=\"" + value + "\">" + value + "\r\n<go href=\"a\""), npos);
    EXPECT_NE(deck.find("\r\n<postfield name=\"" + name + "\" value=\"" + value + "\"/>\r\n"), npos);
    EXPECT_NE(deck.find("\r\n<postfield name=\"" + lower + "\" value=\"$(" + lower + ")\"/>\r\n"),
              npos);
    EXPECT_NE(deck.find("\r\n<input name=\"f1_" + lower + "\" type=\"text\"/>\r\n"), npos);
    EXPECT_NE(
        deck.find("\r\n<postfield name=\"" + lower + "\" value=\"$(f1_" + lower + ")\"/>\r\n"),
        npos);
}

TEST(Forms, SubmitFindsItsFormThroughEnclosingElements)
{
    const std::string deck = ConvertPage(
        "<form action=\"/s\" method=\"Post\"><div><b><input type=\"submit\"></b></div>"
        "<input type=\"radio\" name=\"R\" value=\"1\"></form>");
    EXPECT_NE(deck.find("<anchor title=\"submit\">submit\r\n<go href=\"/s\" method=\"post\">\r\n"
                        "</go>\r\n</anchor>"),
              npos);
    // A label that looks like a tag stays the label, escaped in the title too.
    EXPECT_NE(ConvertPage("<form><input type=\"submit\" value=\"<Go>\"></form>")
                  .find("<anchor title=\"&lt;Go&gt;\">&lt;Go&gt;\r\n<go href=\"\" method=\"get\">"),
              npos);
    // Any other type becomes a text input under its variable name.
    EXPECT_NE(deck.find("\r\n<input type=\"text\" name=\"r\" value=\"1\"/>\r\n"), npos);
}

// The postfields of each go task of a deck, one a line.
std::vector<std::string> Postfields(const std::string& deck)
{
    std::vector<std::string> tasks;
    for (size_t at = deck.find("<go "); at != npos; at = deck.find("<go ", at + 1)) {
        const size_t from = deck.find(">\r\n", at) + 3;
        std::string task = deck.substr(from, deck.find("</go>", at) - from);
        for (size_t cr = task.find('\r'); cr != npos; cr = task.find('\r')) task.erase(cr, 1);
        tasks.push_back(task);
    }
    return tasks;
}

// Each button posts what its form holds when the button is converted: the
// controls before it as converted (a hidden field or checkbox is a text input
// by then), those after it as written. Between A and B only plain inputs
// come; between C and D an element whose end drops the hidden field.
TEST(Forms, EachButtonPostsTheFormAsItStandsAtTheButton)
{
    const std::string deck = ConvertPage(
        "<form action=\"/a\"><input type=\"hidden\" name=\"h1\" value=\"1\">"
        "<input type=\"submit\" name=\"s\" value=\"A\"><input name=\"t\">"
        "<input type=\"checkbox\" name=\"c\"><input type=\"submit\" value=\"B\">"
        "<input type=\"hidden\" name=\"h2\" value=\"2\"></form>"
        "<form action=\"/b\"><input type=\"submit\" value=\"C\"><b><input type=\"hidden\" "
        "name=\"x\" value=\"1\"></b><input type=\"submit\" value=\"D\"></form>");
    const std::vector<std::string> expected = {
        "<postfield name=\"s\" value=\"A\"/>\n<postfield name=\"h1\" value=\"$(h1)\"/>\n"
        "<postfield name=\"t\" value=\"$(t)\"/>\n<postfield name=\"h2\" value=\"2\"/>\n",
        "<postfield name=\"h1\" value=\"$(h1)\"/>\n<postfield name=\"t\" value=\"$(t)\"/>\n"
        "<postfield name=\"c\" value=\"$(c)\"/>\n<postfield name=\"h2\" value=\"2\"/>\n",
        "<postfield name=\"x\" value=\"1\"/>\n",
        "",
    };
    EXPECT_EQ(Postfields(deck), expected);
}

// A long run of buttons: the last one posts the one text field, the first
// also every hidden field after it, each button only its own name.
TEST(Forms, ManyButtonsEachPostTheFieldsOfTheirForm)
{
    std::string page = "<form action=\"/q\"><input name=\"q\">";
    for (int i = 0; i < 3000; ++i) page += "<input type=\"submit\" name=\"s\" value=\"Go\">";
    page += "<input type=\"hidden\" name=\"k\" value=\"v\"></form>";
    const std::vector<std::string> tasks = Postfields(ConvertPage(page));
    ASSERT_EQ(tasks.size(), 3000u);
    const std::string each = "<postfield name=\"s\" value=\"Go\"/>\n"
                             "<postfield name=\"q\" value=\"$(q)\"/>\n"
                             "<postfield name=\"k\" value=\"v\"/>\n";
    for (const std::string& task : tasks) EXPECT_EQ(task, each);
}

// Buttons that elements keep apart, in a form whose controls have no name, post
// nothing and are not each a walk of the whole form; a named field that comes
// after all of them in another form is posted by each of that form's buttons.
TEST(Forms, ButtonsKeptApartByElementsPostTheirFormsFields)
{
    std::string page = "<form action=\"/a\">";
    for (int i = 0; i < 4000; ++i) page += "<i>x<input type=\"submit\"><input>";
    page += "</form><form action=\"/b\">";
    for (int i = 0; i < 3; ++i) page += "<b>y</b><input type=\"submit\">";
    page += "<input type=\"hidden\" name=\"k\" value=\"v\"></form>";
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> tasks = Postfields(ConvertPage(page));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(tasks.size(), 4003u);
    for (size_t i = 0; i < 4000; ++i) EXPECT_EQ(tasks[i], "") << "button " << i;
    for (size_t i = 4000; i < 4003; ++i)
        EXPECT_EQ(tasks[i], "<postfield name=\"k\" value=\"v\"/>\n") << "button " << i;
    // A walk of the form for every button takes seconds here.
    EXPECT_LT(seconds, 2.0);
}

// A button inside an element that keeps neither its anchor nor the anchor's
// go task loses the task there, so it posts nothing; its label stays where
// text may. Buttons elsewhere still post every named control.
TEST(Forms, ButtonsWhoseTaskCannotStayPostNothing)
{
    const std::string deck = ConvertPage(
        "<form action=\"/a\"><input name=\"t\"><select name=\"s\"><option>o"
        "<input type=\"submit\" value=\"Chosen\"></option></select>"
        "<do type=\"accept\"><input type=\"submit\" value=\"Done\"></do>"
        "<b><input type=\"submit\" value=\"Sent\"></b></form>");
    EXPECT_NE(deck.find("Chosen"), npos);
    EXPECT_EQ(deck.find("Done"), npos);
    const std::vector<std::string> expected = {
        "<postfield name=\"t\" value=\"$(t)\"/>\n<postfield name=\"s\" value=\"$(s)\"/>\n"};
    EXPECT_EQ(Postfields(deck), expected);
}

// Real pages with forms and tables give decks that an XML parser accepts.
TEST(Forms, RealPagesWithFormsAndTablesAreWellFormed)
{
    namespace fs = std::filesystem;
    const fs::path corpus = fs::path(QUORREL_SOURCE_DIR) / ".." / "shared" / "corpus";
    const fs::path report = fs::path(QUORREL_BINARY_DIR) / "forms-xmllint.txt";
    if (std::system(("xmllint --version > \"" + report.string() + "\" 2>&1").c_str()) != 0)
        GTEST_SKIP() << "xmllint is not installed";
    for (const char* name :
         {"libxslt__libxslt1-dev_html_FAQ.html", "libxslt__libxslt1-dev_html_bugs.html"}) {
        const std::string page = ReadFile((corpus / name).string());
        if (page.empty()) GTEST_SKIP() << "no corpus page " << name;
        ASSERT_NE(page.find("<form"), npos);
        const fs::path deck = fs::path(QUORREL_BINARY_DIR) / "forms-deck.wml";
        std::ofstream(deck, std::ios::binary) << ConvertPage(page);
        const std::string command =
            "xmllint --noout \"" + deck.string() + "\" > \"" + report.string() + "\" 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name << ":\n" << ReadFile(report.string());
    }
}

}  // namespace
