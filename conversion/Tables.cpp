#include <algorithm>
#include <cstdlib>

#include "conversion/Conversion.h"
#include "conversion/ContentModels.h"
#include "devices/Xmldevice.h"
#include "markup/Walks.h"
#include "markup/Xmlnode.h"

namespace {

// Leading blanks, a sign and digits; no digits give 0.
long DecimalValue(const char* text)
{
    return text != nullptr ? std::strtol(text, nullptr, 10) : 0;
}

bool IsCell(const CXmlNode* node)
{
    return node->IsStartTag() && (node->IsNamed("td") || node->IsNamed("th"));
}

// The widest span, and the widest table: every row is padded up to the column
// count, so an unbounded count would make rows times columns filler cells, a
// deck that grows with the square of the page.
const int MaxColumns = 64;

// A cell's column span: its colspan clamped to 1..64, or 1.
int ColumnSpan(const CXmlNode* cell)
{
    const char* colspan = cell->GetObject()->GetAttribute("colspan");
    if (colspan == nullptr) return 1;
    long span = DecimalValue(colspan);
    return span < 1 ? 1 : (span > MaxColumns ? MaxColumns : static_cast<int>(span));
}

// Each row of a nested table becomes a line of its own once the cell's filter
// unwraps it; its cells stand apart by a blank, which goes at a line's start.
void AddCellPrefixes(CXmlNode* cell)
{
    const CWmlSettings* profile = GetDocumentSettings(cell);
    const CXmlNode* row = cell->GetParent();
    if (cell->GetPreviousSibling() == nullptr && row != nullptr &&
        row->IsNamed("tr") && profile->TableLeadText[0] != '\0')
        cell->InsertFirstChild(new CXmlNode(profile->TableLeadText));
    cell->InsertFirstChild(new CXmlNode(" "));
}

// Gives the text of a nested table's rows lines of their own.
void FlattenNode(CXmlNode* node)
{
    if (node->GetFirstChild() != nullptr && node->IsOpenStartTag() &&
        (node->IsNamed("td") || node->IsNamed("th"))) {
        AddCellPrefixes(node);
    } else if (node->IsEmptyOrEndTag() && node->IsNamed("table") &&
               node->HasTextBefore()) {
        node->InsertAfter(new CXmlNode("<br/>"));
    }
}

}  // namespace

int CountTableColumns(const CXmlNode* table)
{
    int widest = 0;
    for (const CXmlNode* row = table->GetFirstChild(); row; row = row->GetNextSibling()) {
        if (!row->IsStartTag() || !row->IsNamed("tr")) continue;
        int width = 0;
        for (const CXmlNode* cell = row->GetFirstChild(); cell; cell = cell->GetNextSibling())
            if (IsCell(cell)) width = std::min(width + ColumnSpan(cell), MaxColumns);
        widest = std::max(widest, width);
    }
    return widest;
}

void NormalizeTableRow(CXmlNode* row)
{
    const CXmlNode* table = row->GetParent();
    if (table == nullptr) return;
    const CXmlObject* record = table->GetObject();
    const long columns = DecimalValue(record != nullptr ? record->GetAttribute("columns") : nullptr);
    long long width = 0;
    for (CXmlNode* cell = row->GetFirstChild(); cell != nullptr;) {
        if (!IsCell(cell)) {
            cell = cell->GetNextSibling();
            continue;
        }
        CXmlNode* next = cell->GetNextSibling();
        if (cell->GetObject()->GetAttribute("colspan") != nullptr) {
            const int span = ColumnSpan(cell);
            CXmlNode* after = (cell->IsEmptyOrEndTag() || next == nullptr) ? cell : next;
            next = after->GetNextSibling();
            for (int i = 1; i < span; ++i) after->InsertAfter(new CXmlNode("<td/>"));
            width += span;
        } else {
            width += 1;
        }
        FilterElement(cell, ModelTd);
        cell = next;
    }
    for (; width < columns; ++width) row->AppendChild(new CXmlNode("<td/>"));
}

// A node after its descendants and after all the siblings that follow it.
void FlattenNestedTables(CXmlNode* first)
{
    WalkFollowersFirst(first, FlattenNode);
}
