#include <array>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/FragmentLinks.h"
#include "conversion/MainPassMemo.h"
#include "devices/Xmldevice.h"
#include "markup/ElementNames.h"
#include "markup/Walks.h"
#include "platform/Trace.h"

namespace {

struct CRule {
    const char* Name;
    RuleFunction Apply;
    const CContentModel* Model;
};

const CContentModel NoModel = {"\x00", ""};

// The element rules by name; any other element gets RuleOther.
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
    {"br", RuleFilterAtEnd, &ModelBr},
    {"p", RuleP, &ModelP},
    {"form", RuleForm, &NoModel},
    {"h1", RuleHeading, &NoModel},
    {"h2", RuleHeading, &NoModel},
    {"h3", RuleHeading, &NoModel},
    {"h4", RuleHeading, &NoModel},
    {"h5", RuleHeading, &NoModel},
    {"h6", RuleHeading, &NoModel},
    {"hr", RuleHr, &NoModel},
    {"center", RuleCenter, &ModelP},
    {"font", RuleFont, &NoModel},
    {"textarea", RuleTextarea, &NoModel},
    {"frameset", RuleRemoveWithContent, &NoModel},
    {"script", RuleRemoveWithContent, &NoModel},
    {"nowap", RuleRemoveWithContent, &NoModel},
    {"ol", RuleList, &NoModel},
    {"ul", RuleList, &NoModel},
    {"menu", RuleList, &NoModel},
    {"dir", RuleList, &NoModel},
    {"li", RuleListItem, &NoModel},
};

// The rule of each name code, worked out once.
const std::array<const CRule*, ElementCodeBound>& RulesByCode()
{
    static const std::array<const CRule*, ElementCodeBound> table = [] {
        std::array<const CRule*, ElementCodeBound> rules{};
        for (const CRule& rule : Rules)
            if (const uint8_t code = ElementNameCode(rule.Name)) rules[code] = &rule;
        return rules;
    }();
    return table;
}

// Rule names are lower case and compared exactly, so a name with an
// upper-case letter has no rule.
const CRule* RuleOf(const CXmlObject* record)
{
    return record->IsNameLowerCase() ? RulesByCode()[record->GetNameCode()] : nullptr;
}

void ApplyRule(CXmlNode* node)
{
    const CRule* rule = RuleOf(node->GetObject());
    if (rule == nullptr)
        RuleOther(node, NoModel);
    else
        rule->Apply(node, *rule->Model);
}

void StartAtRoot(CXmlNode* root)
{
    Trace("XHtmlToWml: root start\r\n");
    PrepareDocumentState(root)->Reset();
}

// Most text runs are a blank or a few words without a byte to escape: such a
// short run is looked at here, which costs less than the library search.
bool MayNeedEscaping(const char* text, size_t length)
{
    if (length > 16) return true;
    bool found = false;
    for (size_t i = 0; i < length; ++i)
        found |= text[i] == '&' || text[i] == '<' || text[i] == '>';
    return found;
}

void EscapeTextNode(CXmlNode* node)
{
    CXmlObject* record = node->GetObject();
    const size_t length = static_cast<size_t>(record->GetTextLength());
    if (!MayNeedEscaping(record->GetText(), length)) return;
    std::string escaped;
    if (EscapeText(record->GetText(), length, TextRunRules, escaped)) record->ReplaceText(escaped);
}

// Steps 1 to 5 of visiting a node below the root: text escaping, or the
// element's rule.
void VisitNode(CXmlNode* node, CFragmentTargets& targets)
{
    Trace("XHtmlToWml: Begin\r\n");
    CXmlObject* record = node->GetObject();
    if (record == nullptr) return;
    TraceFormat("XHtmlToWml: \"%s\"\r\n", record->GetText());
    if (record->IsTag()) {
        targets.NoteTagBefore(node);
        ApplyRule(node);
        targets.NoteTagAfter(node);
    } else if (!record->IsComment())
        EscapeTextNode(node);
}

}  // namespace

const CContentList* FilteringContentOf(const CXmlNode* element)
{
    const CXmlObject* record = element->GetObject();
    if (record == nullptr) return nullptr;
    const CRule* rule = RuleOf(record);
    if (rule == nullptr) return nullptr;
    const RuleFunction apply = rule->Apply;
    const bool onlyFilters =
        apply == RuleFilterAtEnd || apply == RuleGo || apply == RuleDo || apply == RuleSelect;
    return onlyFilters ? &rule->Model->Content : nullptr;
}

CWorkingVariables* StateOf(const CXmlNode* node)
{
    return node->GetDocumentState();
}

const CWmlSettings* GetDocumentSettings(const CXmlNode* node)
{
    const CWorkingVariables* state = node->GetDocumentState();
    return ProfileOf(state != nullptr ? state->Device : nullptr);
}

namespace {

CMainPassMemo* ExistingMemo(const CWorkingVariables& state)
{
    return static_cast<CMainPassMemo*>(state.MainPassMemo.get());
}

}  // namespace

CMainPassMemo* MainPassMemoOf(const CXmlNode* node)
{
    CWorkingVariables* state = node->GetDocumentState();
    if (state == nullptr) return nullptr;
    if (state->MainPassMemo == nullptr) state->MainPassMemo.reset(new CMainPassMemo);
    return static_cast<CMainPassMemo*>(state->MainPassMemo.get());
}

bool NoteAddedBytes(const CXmlNode* node, size_t bytes)
{
    CMainPassMemo* memo = MainPassMemoOf(node);
    if (memo == nullptr) return true;
    memo->AddedBytes += static_cast<long long>(bytes);
    if (memo->AddedBytes > GetDocumentSettings(node)->MaxDeckBytes) memo->OverBound = true;
    return !memo->OverBound;
}

namespace {

// Each node's rule in document order (the first child read after the rule
// ran, the next sibling after the subtree was visited). False when the walk
// stopped because the deck passed its bound.
bool WalkWithinBound(CXmlNode* root, CFragmentTargets& targets)
{
    Trace("XHtmlToWml: Begin\r\n");
    StartAtRoot(root);
    Trace("XHtmlToWml: OK\r\n");
    CWorkingVariables* state = StateOf(root);
    if (state == nullptr) return true;
    return WalkNodesFirst(root->GetFirstChild(), [&](CXmlNode* n, size_t depth) {
        if (depth == 1) state->WalkTop = n;
        CMainPassMemo* memo = ExistingMemo(*state);
        if (memo != nullptr && memo->FormWalk.Stage != CFormWalkMemo::EStage::Off)
            NoteVisitForForms(memo->FormWalk, n);
        VisitNode(n, targets);
        memo = ExistingMemo(*state);  // the node's rule may have made it
        if (memo != nullptr && memo->OverBound) return false;
        Trace("XHtmlToWml: OK\r\n");
        return true;
    });
}

}  // namespace

void XHtmlToWml(CXmlNode* node)
{
    CFragmentTargets targets;
    if (!WalkWithinBound(node, targets)) {
        ReplaceByTooLargeNotice(node);
        return;
    }
    BuildDeckSkeleton(node, targets);
}
