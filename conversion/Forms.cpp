#include <string>

#include "conversion/Conversion.h"
#include "markup/ElementNames.h"
#include "markup/WorkStack.h"
#include "markup/Xmlnode.h"

namespace {

std::string LowerCase(std::string text)
{
    return LowerCaseAscii(text);
}

// The number of forms that ended before this control.
int FormNumber(const CXmlNode* control)
{
    const CWorkingVariables* state = control->GetDocumentState();
    return state != nullptr ? state->FormCount : 0;
}

// "f<n>_": the prefix of the variables of the form being converted.
std::string FormPrefix(const CXmlNode* control)
{
    return "f" + std::to_string(FormNumber(control)) + "_";
}

// The prefix test is exact: "F1_x" does not begin with "f1_".
bool BeginsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsEnteredControl(const CXmlNode* node, const char* type)
{
    if (EqualNoCase(node->GetName(), "select") || EqualNoCase(node->GetName(), "textarea"))
        return true;
    return EqualNoCase(node->GetName(), "input") &&
           (type == nullptr || EqualNoCase(type, "text") || EqualNoCase(type, "password"));
}

// Only these elements can send a value. A form's walk passes over every node
// of the form once per submit button, so the rest is told apart by the name's
// code before any attribute is looked up.
bool IsControlName(const CXmlObject* record)
{
    static const CElementSet controls("input\0select\0textarea\0");
    return controls.Contains(record);
}

// The postfield that sends a control's value, or the empty text.
std::string PostfieldFor(const CXmlNode* node)
{
    if (!node->IsTag() || !IsControlName(node->GetObject())) return "";
    const CXmlObject* record = node->GetObject();
    const char* name = record->GetAttribute("name");
    if (name == nullptr || name[0] == '\0') return "";
    const char* type = record->GetAttribute("type");
    const std::string field = GetPostfieldName(node);
    if (IsEnteredControl(node, type))
        return "<postfield name=\"" + field + "\" value=\"$(" + GetVariableName(node) + ")\"/>";
    const char* value = record->GetAttribute("value");
    if (EqualNoCase(node->GetName(), "input") && type != nullptr && EqualNoCase(type, "hidden") &&
        value != nullptr)
        return "<postfield name=\"" + field + "\" value=\"" + value + "\"/>";
    return "";
}

}  // namespace

std::string GetVariableName(const CXmlNode* control)
{
    const char* name = control->GetObject() ? control->GetObject()->GetAttribute("name") : nullptr;
    // An empty name is no name in any form: a prefix alone would make all the
    // unnamed controls of a later form share one variable.
    if (name == nullptr || name[0] == '\0') return "";
    const std::string prefix = FormPrefix(control);
    if (FormNumber(control) == 0 || BeginsWith(name, prefix)) return LowerCase(name);
    return LowerCase(prefix + name);
}

std::string GetPostfieldName(const CXmlNode* control)
{
    const char* name = control->GetObject() ? control->GetObject()->GetAttribute("name") : nullptr;
    if (name == nullptr) return "";
    std::string field = name;
    const std::string prefix = FormPrefix(control);
    if (BeginsWith(field, prefix)) field.erase(0, prefix.size());
    return LowerCase(field);
}

// Each node after its descendants, the siblings in document order; the first
// child is read on arrival, the next sibling after the node was handled.
void AddFormPostfields(CXmlNode* first, CXmlNode* go)
{
    CWorkStack<CXmlNode*> due;
    for (CXmlNode* n = first; n != nullptr || !due.empty();) {
        if (n != nullptr) {
            due.push_back(n);
            n = n->GetFirstChild();
            continue;
        }
        CXmlNode* done = due.back();
        due.pop_back();
        const std::string postfield = PostfieldFor(done);
        if (!postfield.empty()) go->AppendChild(new CXmlNode(postfield.c_str()));
        n = done->GetNextSibling();
    }
}
