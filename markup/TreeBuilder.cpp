#include "markup/Xmlnode.h"

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"

namespace {

// Tags that survive an excluded stretch, so the page keeps its skeleton.
const char SkeletonNames[] = "html\0body\0wml\0card\0head\0title\0";

bool IsTitleStart(const CXmlNode* node)
{
    return node != nullptr && node->IsStartTag() && EqualNoCase(node->GetName(), "title");
}

// Decides whether a token outside the regions meant for the device is kept.
bool SurvivesExclusion(const CXmlNode* node, const CXmlNode* current)
{
    if (node->IsTag()) return IsNameInList(node->GetName(), SkeletonNames);
    return IsTitleStart(current);
}

}  // namespace

void CXmlParser::OnToken(CXmlNode* root, CXmlObject* token)
{
    root->AddToken(token->Clone());
}

void CXmlNode::Parse(const char* text, int length)
{
    CXmlParser parser;
    parser.Tokenize(this, text, length);
}

void CXmlNode::EnsureWorkingState()
{
    if (WorkingVariables == nullptr) WorkingVariables = new CWorkingVariables;
    if (WorkingVariables->Device == nullptr)
        WorkingVariables->Device = FindDeviceByUserAgent(nullptr);
}

void CXmlNode::AddToken(CXmlObject* record)
{
    CXmlNode* node = new CXmlNode(record);
    node->DocumentRoot = this;
    EnsureWorkingState();
    CPrePocessControl* regions = WorkingVariables->PreProcessControl;
    if (record->GetMarkerKind() != 0) {
        regions->OnMarker(record);
        delete node;
        return;
    }
    if (regions->IsIncluded(record, WorkingVariables->Device)) {
        if (node->IsTag()) ReplaceTag(node, WorkingVariables->Device, CurrentNode);
    } else if (!SurvivesExclusion(node, CurrentNode)) {
        delete node;
        return;
    }
    if (node->IsTag()) {
        const char* name = node->GetName();
        if (name == nullptr || name[0] == '\0') {
            delete node;
            return;
        }
    } else if (!node->IsComment()) {
        std::string text = record->GetText();
        CollapseWhitespace(text);
        if (text.empty()) {
            delete node;
            return;
        }
        record->ReplaceText(std::move(text));
    }
    LinkToken(node);
    CurrentNode = node;
}

// Places a new node relative to the node placed last, without look-ahead.
void CXmlNode::LinkToken(CXmlNode* node)
{
    CXmlNode* current = CurrentNode;
    if (current == nullptr) {
        AppendChild(node);
        return;
    }
    if (node->IsEmptyOrEndTag() && !node->IsStartTag()) {
        for (CXmlNode* p = current; p != nullptr; p = p->Parent) {
            if (!p->IsComplete() && p->IsClosedBy(node)) {
                p->AppendSibling(node);
                return;
            }
        }
        if (current->IsComplete())
            current->InsertAfter(node);
        else
            current->AppendChild(node);
        return;
    }
    if (!current->IsTag() || (current->IsStartTag() && current->IsEmptyOrEndTag()) ||
        current->IsStrayEndTag()) {
        current->AppendSibling(node);
        return;
    }
    if (current->IsStartTag()) {
        if (node->MatchesStartTag(current))
            current->AppendSibling(node);
        else
            current->AppendChild(node);
        return;
    }
    CXmlNode* start = current->Parent;
    if (start != nullptr && node->MatchesStartTag(start))
        start->AppendSibling(node);
    else
        current->AppendSibling(node);
}
