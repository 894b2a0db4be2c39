#include <algorithm>
#include <cstring>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/MainPassMemo.h"
#include "devices/Xmldevice.h"
#include "platform/WorkStack.h"

namespace {

const char MethodValues[] = "get\0post\0";
const char ImageAlignValues[] = "top\0middle\0bottom\0";

// The file-name part of an image address, from at most its first 511 bytes.
std::string FileNameOf(const char* src)
{
    std::string head(src, strnlen(src, 511));
    size_t slash = head.find_last_of("/\\");
    return slash == std::string::npos ? head : head.substr(slash + 1);
}

void EnsureAttribute(CXmlObject* tag, const char* name)
{
    if (tag->GetAttribute(name) == nullptr) tag->SetAttribute(name, "");
}

bool IsWmlStart(const CXmlNode* node)
{
    return node->IsOpenStartTag() && node->IsNamed("wml");
}

CXmlNode* FirstWmlStartFrom(CXmlNode* child)
{
    for (; child != nullptr; child = child->GetNextSibling())
        if (IsWmlStart(child)) return child;
    return nullptr;
}

bool HoldsWmlStart(const CXmlNode* root)
{
    CWorkStack<const CXmlNode*> due;
    due.push_back(root);
    while (!due.empty()) {
        const CXmlNode* node = due.back();
        due.pop_back();
        if (node != root && IsWmlStart(node)) return true;
        for (const CXmlNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
            due.push_back(child);
    }
    return false;
}

// The first root child that is an open wml start tag. The root children
// before the one the walk is in were walked already, and no rule renames a
// walked node to wml afterwards, so the search passes each of them once. Those
// after it keep the names the pre-pass gave them: only a page with a wml
// start tag somewhere can have one there.
CXmlNode* FindWmlStart(CXmlNode* root, CMainPassMemo* memo)
{
    const CWorkingVariables* state = StateOf(root);
    const CXmlNode* top = state != nullptr ? state->WalkTop : nullptr;
    if (memo == nullptr || top == nullptr) return FirstWmlStartFrom(root->GetFirstChild());
    CXmlNode* child = memo->WmlSearchedTo != nullptr ? memo->WmlSearchedTo->GetNextSibling()
                                                     : root->GetFirstChild();
    for (; child != nullptr; child = child->GetNextSibling()) {
        if (IsWmlStart(child)) return child;
        if (child == top) break;
        memo->WmlSearchedTo = child;
    }
    if (child == nullptr) return nullptr;
    if (memo->PageHasWml < 0) memo->PageHasWml = HoldsWmlStart(root) ? 1 : 0;
    return memo->PageHasWml != 0 ? FirstWmlStartFrom(child->GetNextSibling()) : nullptr;
}

// The content of a named anchor becomes a card of its own at the end of the
// deck; the anchor's tags go.
void SplitOffCard(CXmlNode* anchor)
{
    if (anchor->IsEmptyOrEndTag()) {
        DropTag(anchor);
        return;
    }
    CXmlNode* root = anchor->GetDocumentRoot();
    CXmlNode* wml = FindWmlStart(root, MainPassMemoOf(root));
    if (wml != nullptr) {
        CXmlNode* card = new CXmlNode(anchor->GetText());
        wml->AppendChild(card);
        // Parsed afresh from the page's text: its attribute names are lower-cased again.
        card->GetObject()->LowerCaseNames();
        Rename(card, "card");
        card->InsertAfter(new CXmlNode("</card>"));
        while (anchor->GetFirstChild() != nullptr) card->AppendChild(anchor->GetFirstChild());
        const char* name = card->GetObject()->GetAttribute("name");
        card->GetObject()->SetAttribute("id", std::string(name != nullptr ? name : "").c_str());
    }
    DropTag(anchor);
    if (anchor->GetNextSibling() != nullptr) DropTag(anchor->GetNextSibling());
}

bool IsNamedAnchor(const CXmlNode* node)
{
    const char* name = node->GetObject()->GetAttribute("name");
    return node->IsStartTag() && name != nullptr && name[0] != '\0';
}

}  // namespace

void EscapeHref(CXmlNode* tag)
{
    CXmlObject* record = tag->GetObject();
    const char* href = record->GetAttribute("href");
    if (href == nullptr || strchr(href, '&') == nullptr) return;
    // Only the '&' here: the rest of the value is escaped with every other
    // attribute when the deck is complete.
    const CEscapeRules rules = {GetDocumentSettings(tag)->AmpReplace, true, false, false};
    std::string escaped;
    if (EscapeText(href, strlen(href), rules, escaped))
        record->SetAttribute("href", escaped.c_str());
}

void RuleGo(CXmlNode* node, const CContentModel& model)
{
    if (!AtEndTag(node)) return;
    CXmlNode* go = FilterElement(node, model);
    CXmlObject* task = go->GetObject();
    task->RestrictAttribute("method", MethodValues, "get", 0);
    task->NormalizeBoolean("sendreferer", "false");
    EnsureAttribute(task, "href");
    EscapeHref(go);
}

void RuleImg(CXmlNode* node, const CContentModel& model)
{
    if (!AtEndTag(node)) return;
    CXmlObject* image = FilterElement(node, model)->GetObject();
    EnsureAttribute(image, "src");
    if (image->GetAttribute("alt") == nullptr)
        image->SetAttribute("alt", FileNameOf(image->GetAttribute("src")).c_str());
    image->RestrictAttribute("align", ImageAlignValues, "bottom", 0);
}

void RuleA(CXmlNode* node, const CContentModel& model)
{
    if (IsNamedAnchor(node)) {
        SplitOffCard(node);
        return;
    }
    if (!AtEndTag(node)) return;
    CXmlNode* link = FilterElement(node, model);
    EnsureAttribute(link->GetObject(), "href");
    EscapeHref(link);
}
