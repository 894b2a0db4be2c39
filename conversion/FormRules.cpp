#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/LineMarks.h"
#include "devices/Xmldevice.h"

namespace {

const char InputTypes[] = "text\0password\0";

CXmlNode* EnclosingForm(const CXmlNode* node)
{
    for (CXmlNode* p = node->GetParent(); p != nullptr && p->GetObject() != nullptr;
         p = p->GetParent())
        if (p->IsNamed("form")) return p;
    return nullptr;
}

void AppendNode(CXmlNode* parent, const std::string& text)
{
    parent->AppendChild(new CXmlNode(text.c_str()));
}

// The label node is made from its text, so the title is escaped first: a value
// such as "<Go>" stays the label instead of becoming a tag. The walk's own
// escaping keeps the entities made here.
std::string SubmitLabel(const CXmlNode* input, const std::string& title)
{
    return FormatText(GetDocumentSettings(input)->SubmitFormat, EscapedText(title.c_str()).c_str());
}

// The anchor stands where the button stood. An element around it that judges
// its children by a list that keeps neither the anchor nor, once the anchor
// is unwrapped, its go task deletes the postfields with the task, so they are
// not built.
bool PostfieldsWouldBeDropped(const CXmlNode* input)
{
    const CContentList* content = FilteringContentOf(input->GetParent());
    if (content == nullptr || content->Names.ContainsName("anchor")) return false;
    return !content->TextAllowed || !content->Names.ContainsName("go");
}

// A submit button becomes an anchor whose go task posts every control of the form.
void BuildSubmitAnchor(CXmlNode* input, CXmlNode* form)
{
    CXmlObject* button = input->GetObject();
    CXmlNode* anchor = new CXmlNode("<anchor>");
    input->InsertAfter(anchor);
    anchor->InsertAfter(new CXmlNode("</anchor>"));
    const char* value = button->GetAttribute("value");
    const std::string title = value != nullptr ? value : "submit";
    anchor->GetObject()->SetAttribute("title", title.c_str());
    AppendNode(anchor, SubmitLabel(input, title));
    CXmlNode* go = new CXmlNode("<go>");
    anchor->AppendChild(go);
    anchor->AppendChild(new CXmlNode("</go>"));
    go->GetObject()->SetAttribute("href", form->GetObject()->GetAttribute("action"));
    const char* method = form->GetObject()->GetAttribute("method");
    go->GetObject()->SetAttribute("method", EqualNoCase(method, "post") ? "post" : "get");
    if (PostfieldsWouldBeDropped(input)) return;
    const char* name = button->GetAttribute("name");
    if (name != nullptr && name[0] != '\0')
        AppendNode(go, std::string("<postfield name=\"") + name + "\" value=\"" + title + "\"/>");
    AddSubmitPostfields(form, input, anchor, go);
}

}  // namespace

void RuleSelect(CXmlNode* node, const CContentModel& model)
{
    if (!AtEndTag(node)) return;
    CXmlNode* select = FilterElement(node, model);
    select->GetObject()->NormalizeBoolean("multiple", "false");
    select->GetObject()->SetAttribute("name", GetVariableName(select).c_str());
}

void RuleInput(CXmlNode* node, const CContentModel& model)
{
    CXmlObject* input = node->GetObject();
    const char* type = input->GetAttribute("type");
    if (EqualNoCase(type, "submit")) {
        if (CXmlNode* form = EnclosingForm(node)) BuildSubmitAnchor(node, form);
        DropTag(node);
    } else if (type == nullptr || IsNameInList(type, InputTypes) ||
               input->GetAttribute("name") != nullptr) {
        // Other types (hidden, checkbox, ...) become text inputs below. They store
        // under the variable name as well, the one that the form's postfields read.
        const bool typeMissing = type == nullptr;
        input->SetAttribute("name", GetVariableName(node).c_str());
        if (typeMissing) input->SetAttribute("type", "text");
    }
    FilterElement(node, model);
    input->RestrictAttribute("type", InputTypes, "text", 0);
    input->NormalizeBoolean("emptyok", "false");
}

void RuleForm(CXmlNode* node, const CContentModel&)
{
    if (AtStartTag(node)) {
        if (node->GetObject()->GetAttribute("action") == nullptr)
            node->GetObject()->SetAttribute("action", "");
        return;
    }
    DropTag(node);
    CXmlNode* start = node->IsStartTag() ? nullptr : node->GetPreviousSibling();
    if (start != nullptr) {
        const CWmlSettings* profile = GetDocumentSettings(node);
        DropTag(start);
        if (profile->FormBreakBefore != 0) start->InsertFirstChild(new CXmlNode("<br/>"));
        if (profile->FormBreakAfter != 0) start->AppendChild(new CXmlNode("<br/>"));
        MarkBlockLines(start);
        start->MoveChildrenAfter(start);
    }
    ++StateOf(node)->FormCount;
}
