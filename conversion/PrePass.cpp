#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "markup/Walks.h"
#include "markup/Xmlnode.h"

namespace {

// Lower-cases names, closes void elements and gives an open start tag its end tag.
void NormalizeNode(CXmlNode* node)
{
    if (!node->IsTag()) return;
    node->GetObject()->LowerCaseNames();
    if (node->IsVoidTag() && !node->IsEmptyOrEndTag()) node->MakeEmptyElement();
    if (!node->IsComplete()) node->InsertAfter(new CXmlNode(node->GetObject()->CreateEndTag()));
}

void DeleteWithEndTag(CXmlNode* node)
{
    delete node->GetNextSibling();
    delete node;
}

void PruneNode(CXmlNode* node)
{
    if (node->IsStrayEndTag())
        delete node;
    else if (node->IsOpenStartTag() && node->IsTextStyleTag() && node->HasOnlyBlankContent())
        DeleteWithEndTag(node);
}

}  // namespace

// In document order, so inserted end tags and hoisted children are visited too.
void NormalizeTree(CXmlNode* node)
{
    const bool isRoot = node->GetParent() == nullptr;
    if (isRoot) PrepareDocumentState(node)->Reset();
    WalkNodesFirst(node, [](CXmlNode* n, size_t) {
        NormalizeNode(n);
        return true;
    });
    if (isRoot && node->GetObject() == nullptr) {
        PruneTree(node);
        node->GetWorkingVariables()->Reset();
    }
}

void PruneTree(CXmlNode* node)
{
    SweepChildrenFirst(node, [](CXmlNode*) {}, PruneNode);
}
