#include <cstring>
#include <vector>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "devices/Xmldevice.h"

namespace {

struct CRule {
    const char* Name;
    RuleFunction Apply;
    const CContentModel* Model;
};

const CContentModel NoModel = {"\x00", ""};

// In the order in which names are tested; the first match wins.
const CRule Rules[] = {
    {"html", RuleHtml, &ModelWmlAtHtmlEnd},
    {"wml", RuleHtml, &ModelWmlAtHtmlEnd},
    {"title", RuleTitle, &NoModel},
    {"body", RuleCard, &ModelCardAtEnd},
    {"card", RuleCard, &ModelCardAtEnd},
    {"do", RuleDo, &ModelDo},
    {"onevent", RuleFilterAtEnd, &ModelOnevent},
    {"head", RuleFilterAtEnd, &ModelHead},
    {"template", RuleFilterAtEnd, &ModelTemplate},
    {"access", RuleFilterAtEnd, &ModelAccess},
    {"meta", RuleMeta, &ModelMeta},
    {"go", RuleGo, &ModelGo},
    {"prev", RuleFilterAtEnd, &ModelPrev},
    {"refresh", RuleFilterAtEnd, &ModelRefresh},
    {"noop", RuleFilterAtEnd, &ModelNoop},
    {"postfield", RuleFilterAtEnd, &ModelPostfield},
    {"setvar", RuleFilterAtEnd, &ModelSetvar},
    {"select", RuleSelect, &ModelSelect},
    {"optgroup", RuleFilterAtEnd, &ModelOptgroup},
    {"option", RuleFilterAtEnd, &ModelOption},
    {"input", RuleInput, &ModelInput},
    {"fieldset", RuleFilterAtEnd, &ModelFieldset},
    {"timer", RuleFilterAtEnd, &ModelTimer},
    {"img", RuleImg, &ModelImg},
    {"anchor", RuleFilterAtEnd, &ModelAnchor},
    {"a", RuleA, &ModelA},
    {"table", RuleTable, &ModelTable},
    {"tr", RuleTr, &ModelTrAtEnd},
    {"td", RuleTd, &ModelTd},
    {"th", RuleTd, &ModelTd},
    {"em", RuleFilterAtEnd, &ModelTextStyle},
    {"strong", RuleFilterAtEnd, &ModelTextStyle},
    {"b", RuleFilterAtEnd, &ModelTextStyle},
    {"i", RuleFilterAtEnd, &ModelTextStyle},
    {"u", RuleFilterAtEnd, &ModelTextStyle},
    {"big", RuleFilterAtEnd, &ModelTextStyle},
    {"small", RuleFilterAtEnd, &ModelTextStyle},
    {"br", RuleFilterAtEnd, &ModelTextStyle},
    {"p", RuleP, &ModelP},
    {"form", RuleForm, &NoModel},
};

const CRule LaterRules[] = {
    {"hr", RuleHr, &NoModel},
    {"center", RuleCenter, &ModelP},
    {"font", RuleFont, &NoModel},
    {"textarea", RuleTextarea, &NoModel},
    {"frameset", RuleRemoveWithContent, &NoModel},
    {"script", RuleRemoveWithContent, &NoModel},
    {"nowap", RuleRemoveWithContent, &NoModel},
};

bool IsHeadingName(const char* name)
{
    return name[0] == 'h' && name[1] >= '1' && name[1] <= '6' && name[2] == '\0';
}

const CRule* FindRule(const CRule* first, const CRule* last, const char* name)
{
    for (const CRule* rule = first; rule != last; ++rule)
        if (strcmp(rule->Name, name) == 0) return rule;
    return nullptr;
}

void ApplyRule(CXmlNode* node)
{
    const char* name = node->GetName();
    if (name == nullptr) name = "";
    const CRule* rule = FindRule(std::begin(Rules), std::end(Rules), name);
    if (rule == nullptr && IsHeadingName(name)) {
        RuleHeading(node, NoModel);
        return;
    }
    if (rule == nullptr) rule = FindRule(std::begin(LaterRules), std::end(LaterRules), name);
    if (rule == nullptr) {
        RuleOther(node, NoModel);
        return;
    }
    rule->Apply(node, *rule->Model);
}

void StartAtRoot(CXmlNode* root)
{
    Trace("XHtmlToWml: root start\r\n");
    if (root->GetWorkingVariables() == nullptr) root->SetWorkingVariables(new CWorkingVariables);
    CWorkingVariables* state = root->GetWorkingVariables();
    if (state->Device == nullptr) state->Device = FindDeviceByUserAgent(nullptr);
    state->Reset();
}

void EscapeTextNode(CXmlNode* node)
{
    CXmlObject* record = node->GetObject();
    char* escaped = EscapeText(record->GetText(), "&<>", "&amp;");
    if (escaped == nullptr) return;
    record->ReplaceText(escaped);
    delete[] escaped;
}

// Steps 1 to 5 of visiting one node: the root's set-up, text escaping, or
// the element's rule.
void VisitNode(CXmlNode* node)
{
    Trace("XHtmlToWml: Begin\r\n");
    if (node->GetParent() == nullptr) {
        StartAtRoot(node);
        return;
    }
    CXmlObject* record = node->GetObject();
    if (record == nullptr) return;
    TraceFormat("XHtmlToWml: \"%s\"\r\n", record->GetText());
    if (record->IsTag())
        ApplyRule(node);
    else if (!record->IsComment())
        EscapeTextNode(node);
}

}  // namespace

CWorkingVariables* StateOf(const CXmlNode* node)
{
    return node->GetDocumentState();
}

CWmlSettings* GetDocumentSettings(const CXmlNode* node)
{
    const CWorkingVariables* state = node->GetDocumentState();
    return ProfileOf(state != nullptr ? state->Device : nullptr);
}

// A node's rule, then its subtree (the first child read after the rule ran),
// then its next sibling (read after the subtree was visited).
void XHtmlToWml(CXmlNode* node)
{
    std::vector<CXmlNode*> due;
    for (CXmlNode* n = node; n != nullptr || !due.empty();) {
        if (n == nullptr) {
            Trace("XHtmlToWml: Childs OK\r\n");
            n = due.back()->GetNextSibling();
            due.pop_back();
            if (n == nullptr) Trace("XHtmlToWml: next OK\r\n");
            continue;
        }
        VisitNode(n);
        Trace("XHtmlToWml: OK\r\n");
        due.push_back(n);
        n = n->GetFirstChild();
    }
    if (node->GetParent() == nullptr) BuildDeckSkeleton(node);
}
