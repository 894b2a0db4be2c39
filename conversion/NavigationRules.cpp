#include <algorithm>
#include <cstring>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "devices/Xmldevice.h"

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

CXmlNode* FindWmlStart(const CXmlNode* root)
{
    for (CXmlNode* child = root->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling())
        if (child->IsOpenStartTag() && child->IsNamed("wml"))
            return child;
    return nullptr;
}

// The content of a named anchor becomes a card of its own at the end of the
// deck; the anchor's tags go.
void SplitOffCard(CXmlNode* anchor)
{
    if (anchor->IsEmptyOrEndTag()) {
        DropTag(anchor);
        return;
    }
    CXmlNode* wml = FindWmlStart(anchor->GetDocumentRoot());
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
    if (href == nullptr) return;
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
