#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"

void RuleTable(CXmlNode* node, const CContentModel& model)
{
    CWorkingVariables* state = StateOf(node);
    if (AtStartTag(node)) {
        if (++state->TableDepth == 1)
            node->GetObject()->SetAttribute("columns",
                                            std::to_string(CountTableColumns(node)).c_str());
        return;
    }
    // An empty table tag never raised the depth; lowering it would leave every
    // later table of the page without its columns.
    if (!node->IsStartTag()) --state->TableDepth;
    FilterElement(node, model);
}

// A row of an outermost table is made rectangular before its cells are visited.
void RuleTr(CXmlNode* node, const CContentModel& model)
{
    if (AtEndTag(node)) {
        FilterElement(node, model);
        return;
    }
    if (StateOf(node)->TableDepth != 1) return;
    for (CXmlNode* cell = node->GetFirstChild(); cell != nullptr; cell = cell->GetNextSibling())
        if (cell->GetFirstChild() != nullptr) FlattenNestedTables(cell->GetFirstChild());
    FilterElement(node, ModelTrAtStart);
    NormalizeTableRow(node);
}

void RuleTd(CXmlNode* node, const CContentModel& model)
{
    Rename(node, "td");
    if (AtEndTag(node))
        node->GetObject()->ClearAttributes();
    else
        FilterElement(node, model);
}
