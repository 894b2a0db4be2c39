#include <string>

#include "conversion/ChildrenFirstSweep.h"
#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"

namespace {

const char BlockNames[] = "wml\0p\0br\0table\0tr\0td\0";

char LastByte(const CXmlNode* node)
{
    const char* text = node->GetText();
    if (text == nullptr || text[0] == '\0') return '\0';
    return text[node->GetObject()->GetTextLength() - 1];
}

char FirstByte(const CXmlNode* node)
{
    const char* text = node->GetText();
    return text != nullptr ? text[0] : '\0';
}

bool IsBlockTag(const CXmlNode* node)
{
    return node->IsTag() && IsNameInList(node->GetName(), BlockNames);
}

void TrimEdgeBlanks(CXmlNode* node)
{
    CXmlObject* record = node->GetObject();
    if (node->GetParent() == nullptr || record == nullptr) return;
    std::string text = record->GetText() != nullptr ? record->GetText() : "";
    bool changed = false;
    if (!text.empty() && text.front() == ' ' && LeadingBlankRemovable(node)) {
        text.erase(0, 1);
        changed = true;
    }
    if (!text.empty() && text.back() == ' ' && TrailingBlankRemovable(node)) {
        text.pop_back();
        changed = true;
    }
    if (changed) record->ReplaceText(std::move(text));
}

// "<br></br>" leaves "</br>" behind the empty "<br/>": it closes nothing and
// would make the deck malformed.
bool FollowsEmptyElement(const CXmlNode* node)
{
    const CXmlNode* previous = node->GetPreviousSibling();
    return node->IsEmptyOrEndTag() && !node->IsStartTag() && node->GetFirstChild() == nullptr &&
           previous != nullptr && previous->IsStartTag() && previous->IsEmptyOrEndTag();
}

void PruneCleanedNode(CXmlNode* node)
{
    if (node->IsStrayEndTag() || FollowsEmptyElement(node)) {
        delete node;
    } else if (node->IsComment() && GetDocumentSettings(node)->DropComments != 0) {
        delete node;
    } else if (node->HasOnlyBlankContent() &&
               (node->IsTextStyleTag() || (node->IsStartTag() && node->IsNamed("head")))) {
        delete node->GetNextSibling();
        delete node;
    }
}

}  // namespace

void FinalCleanup(CXmlNode* node)
{
    SweepChildrenFirst(node, TrimEdgeBlanks, PruneCleanedNode);
}

bool LeadingBlankRemovable(const CXmlNode* node)
{
    const CXmlNode* root = node->GetDocumentRoot();
    for (const CXmlNode* p = node->GetPreviousNode(); p != nullptr && p != root;) {
        const char c = LastByte(p);
        if (c == ' ') return true;
        if (c == '>' && IsBlockTag(p)) return true;
        if (c != '\0' && c != '>') return false;
        p = p->GetPreviousNode();
    }
    return true;
}

bool TrailingBlankRemovable(const CXmlNode* node)
{
    for (const CXmlNode* p = node->GetNextNode(); p != nullptr;) {
        const char c = FirstByte(p);
        if (c == ' ') return true;
        if (c == '<' && IsBlockTag(p)) return true;
        if (c != '\0' && c != '<') return false;
        p = p->GetNextNode();
    }
    return true;
}
