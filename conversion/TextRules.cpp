#include <cstdlib>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/LineMarks.h"
#include "devices/Xmldevice.h"

namespace {

const char AlignValues[] = "left\0right\0center\0";
const char ModeValues[] = "wrap\0nowrap\0";

// The leading integer of a size value: blanks, an optional sign, digits.
long LeadingInteger(const char* text)
{
    return text != nullptr ? std::strtol(text, nullptr, 10) : 0;
}

// Drops a start tag and its end tag and moves the content to after the end tag.
void UnwrapAfterEndTag(CXmlNode* start)
{
    DropTag(start);
    CXmlNode* end = start->GetNextSibling();
    if (end == nullptr) return;
    DropTag(end);
    start->MoveChildrenAfter(end);
}

}  // namespace

void RuleP(CXmlNode* node, const CContentModel& model)
{
    if (!AtEndTag(node)) return;
    CXmlObject* paragraph = FilterElement(node, model)->GetObject();
    paragraph->RestrictAttribute("align", AlignValues, "left", 0);
    paragraph->RestrictAttribute("mode", ModeValues, "wrap", 0);
}

void RuleHeading(CXmlNode* node, const CContentModel&)
{
    if (node->IsStartTag()) return;
    CXmlNode* start = node->GetPreviousSibling();
    Rename(node, "b");
    if (start == nullptr) return;
    Rename(start, "b");
    KeepModelAttributes(start, ModelTextStyle);
    if (HasTextBeforeOnLine(node)) start->InsertBefore(new CXmlNode("<br/>"));
    node->InsertAfter(new CXmlNode("<br/>"));
}

void RuleHr(CXmlNode* node, const CContentModel&)
{
    Rename(node, "br");
    node->GetObject()->ClearAttributes();
}

void RuleCenter(CXmlNode* node, const CContentModel& model)
{
    Rename(node, "p");
    if (AtEndTag(node)) FilterElement(node, model)->GetObject()->SetAttribute("align", "center");
}

void RuleFont(CXmlNode* node, const CContentModel&)
{
    if (!node->IsStartTag()) return;
    const bool empty = node->IsEmptyOrEndTag();
    const long size = LeadingInteger(node->GetObject()->GetAttribute("size"));
    if (!empty && size > 0 && size != 3 && size != 4) {
        const char* name = size <= 2 ? "small" : "big";
        node->GetObject()->ClearAttributes();
        Rename(node, name);
        if (node->GetNextSibling() != nullptr) Rename(node->GetNextSibling(), name);
        return;
    }
    if (empty)
        DropTag(node);
    else
        UnwrapAfterEndTag(node);
}

void RuleTextarea(CXmlNode* node, const CContentModel&)
{
    if (!node->IsStartTag()) return;
    FilterChildren(node, ContentTextarea);
    CXmlObject* input = node->GetObject();
    Rename(node, "input");
    input->SetAttribute("type", "text");
    for (CXmlNode* child = node->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling()) {
        if (child->IsComment()) continue;
        const char* text = child->GetText();
        if (text != nullptr && text[0] != '\0')
            // Escaped with every other attribute when the deck is complete.
            input->SetAttribute("value", text);
        break;
    }
    DeleteChildren(node);
    if (!node->IsEmptyOrEndTag()) {
        delete node->GetNextSibling();
        input->MakeEmptyElement();
    }
    // Converted as the text input it now is: its variable name is the one that the
    // form's postfields read, and rows, cols and the like are not WML.
    RuleInput(node, ModelInput);
}

void RuleRemoveWithContent(CXmlNode* node, const CContentModel&)
{
    DropTag(node);
    DeleteChildren(node);
}

// Elements without a rule are unwrapped: their converted content stays, on
// lines of its own when the element is a block.
void RuleOther(CXmlNode* node, const CContentModel&)
{
    if (node->IsOpenStartTag()) return;
    if (node->IsStartTag()) {
        if (IsLineBlock(node->GetObject())) MarkLineAfter(node);
        DropTag(node);
        return;
    }
    CXmlNode* start = node->GetPreviousSibling();
    if (start != nullptr) {
        if (IsLineBlock(start->GetObject())) MarkBlockLines(start);
        if (IsWordBox(start->GetObject())) SpaceAround(start);
        DropTag(start);
        start->MoveChildrenAfter(start);
    }
    DropTag(node);
}
