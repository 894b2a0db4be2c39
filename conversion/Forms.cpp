#include <string>

#include "conversion/Conversion.h"
#include "conversion/MainPassMemo.h"
#include "markup/ElementNames.h"
#include "markup/Walks.h"
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
    if (node->IsNamed("select") || node->IsNamed("textarea")) return true;
    return node->IsNamed("input") &&
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

// The postfield that sends a control's value, if the node sends one.
CPostfield PostfieldFor(const CXmlNode* node)
{
    if (!node->IsTag() || !IsControlName(node->GetObject())) return {};
    const CXmlObject* record = node->GetObject();
    const char* name = record->GetAttribute("name");
    if (name == nullptr || name[0] == '\0') return {};
    const char* type = record->GetAttribute("type");
    if (IsEnteredControl(node, type))
        return {true, GetPostfieldName(node), "$(" + GetVariableName(node) + ")", nullptr};
    const char* value = record->GetAttribute("value");
    if (node->IsNamed("input") && type != nullptr && EqualNoCase(type, "hidden") &&
        value != nullptr)
        return {true, GetPostfieldName(node), value, nullptr};
    return {};
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

namespace {

bool IsNamedControl(const CXmlNode* node)
{
    if (!node->IsTag() || !IsControlName(node->GetObject())) return false;
    const char* name = node->GetObject()->GetAttribute("name");
    return name != nullptr && name[0] != '\0';
}

// What one walk of a form found: the postfields, each node after its
// descendants; how many come before the button; the controls with a name.
struct CFormWalk {
    std::vector<CNodePostfield> Postfields;
    size_t Split = 0;
    std::vector<const CXmlNode*> NamedControls;
};

CFormWalk WalkForm(CXmlNode* first, const CXmlNode* button)
{
    CFormWalk walk;
    WalkDescendantsFirst(first, [&](CXmlNode* done) {
        CPostfield postfield = PostfieldFor(done);
        if (postfield.Sends) walk.Postfields.push_back({done, std::move(postfield)});
        if (done == button) walk.Split = walk.Postfields.size();
        if (IsNamedControl(done)) walk.NamedControls.push_back(done);
    });
    return walk;
}

// The bytes of <postfield name="" value=""/> around the name and value.
const size_t PostfieldMarkupBytes = 29;

// False once the deck bound is passed: the rest is not added. Forms of many
// buttons post the same fields many times, so the tag is assembled from its
// parts once instead of parsed from its text each time.
bool AppendPostfield(CXmlNode* go, const CPostfield& postfield)
{
    const size_t bytes = PostfieldMarkupBytes + postfield.Name.size() + postfield.Value.size();
    if (!NoteAddedBytes(go, bytes)) return false;
    if (postfield.Tag == nullptr) {
        postfield.Tag.reset(new CXmlObject);
        postfield.Tag->SetEmptyElement("postfield",
                                       {{"name", postfield.Name}, {"value", postfield.Value}});
    }
    go->AppendChild(new CXmlNode(*postfield.Tag));
    return true;
}

// The node is visited by the main pass without changing any node but itself.
bool IsPlainLeaf(const CXmlNode* node)
{
    static const CElementSet plain("input\0br\0img\0hr\0");
    if (node->GetFirstChild() != nullptr) return false;
    if (!node->IsTag()) return true;
    return node->IsStartTag() && node->IsEmptyOrEndTag() && plain.Contains(node->GetObject());
}

// A control inside a button's own anchor (a submit format may make one, at
// any depth) is posted by the buttons after it, which the memo does not follow.
bool HoldsControl(CXmlNode* anchor)
{
    bool holds = false;
    WalkDescendantsFirst(anchor->GetFirstChild(), [&](CXmlNode* done) {
        holds = holds || (done->IsTag() && IsControlName(done->GetObject()));
    });
    return holds;
}

// The button follows the memo's button as a sibling, with only that button's
// anchor and plain leaves visited between them, in the same form.
bool FollowsMemoButton(const CFormWalkMemo& memo, const CXmlNode* form, const CXmlNode* button)
{
    return memo.Stage == CFormWalkMemo::EStage::Leaves && memo.Form == form &&
           memo.FormCount == FormNumber(button) && !memo.Leaves.empty() &&
           memo.Leaves.back() == button;
}

// What a walk of the form would find now: the leaves between the two buttons
// were converted since, so their postfields move before the button.
void CarryOver(CFormWalkMemo& memo)
{
    for (const CXmlNode* leaf : memo.Leaves) {
        if (memo.AfterFrom < memo.After.size() && memo.After[memo.AfterFrom].Node == leaf)
            ++memo.AfterFrom;
        CPostfield postfield = PostfieldFor(leaf);
        if (postfield.Sends) memo.Before.push_back(std::move(postfield));
    }
}

bool WalkedLast(const CFormWalkMemo& memo, const CXmlNode* form, const CXmlNode* button)
{
    return memo.ControlsForm == form && memo.ControlsFormCount == FormNumber(button);
}

bool IsKnownNameless(const CFormWalkMemo& memo, const CXmlNode* form, const CXmlNode* button)
{
    return WalkedLast(memo, form, button) && memo.NamedControls.empty();
}

void WalkIntoMemo(CFormWalkMemo& memo, CXmlNode* form, const CXmlNode* button)
{
    memo.Before.clear();
    memo.After.clear();
    memo.AfterFrom = 0;
    if (IsKnownNameless(memo, form, button)) return;
    CFormWalk walk = WalkForm(form->GetFirstChild(), button);
    std::vector<CNodePostfield>& all = walk.Postfields;
    for (size_t i = 0; i < walk.Split; ++i) memo.Before.push_back(std::move(all[i].Postfield));
    all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(walk.Split));
    memo.After = std::move(all);
    memo.ControlsForm = form;
    memo.ControlsFormCount = FormNumber(button);
    memo.ControlsStructure = form->GetStructureChanges();
    memo.NamedControls = std::move(walk.NamedControls);
}

bool KnowsNamedControls(const CFormWalkMemo& memo, const CXmlNode* form, const CXmlNode* button)
{
    return WalkedLast(memo, form, button) &&
           memo.ControlsStructure == form->GetStructureChanges();
}

// What a walk of the form would post now, from the controls the last walk
// found: nothing has moved or gone since, and no other node can post.
void PostKnownControls(const CFormWalkMemo& memo, CXmlNode* go)
{
    for (const CXmlNode* control : memo.NamedControls) {
        const CPostfield postfield = PostfieldFor(control);
        if (postfield.Sends && !AppendPostfield(go, postfield)) return;
    }
}

}  // namespace

void AddFormPostfields(CXmlNode* first, CXmlNode* go)
{
    for (const CNodePostfield& postfield : WalkForm(first, nullptr).Postfields)
        if (!AppendPostfield(go, postfield.Postfield)) return;
}

void AddSubmitPostfields(CXmlNode* form, CXmlNode* button, CXmlNode* anchor, CXmlNode* go)
{
    CMainPassMemo* pass = MainPassMemoOf(form);
    if (pass == nullptr || HoldsControl(anchor)) {
        if (pass != nullptr) {
            pass->FormWalk.Stage = CFormWalkMemo::EStage::Off;
            pass->FormWalk.ControlsForm = nullptr;
        }
        AddFormPostfields(form->GetFirstChild(), go);
        return;
    }
    CFormWalkMemo& memo = pass->FormWalk;
    if (FollowsMemoButton(memo, form, button)) {
        CarryOver(memo);
    } else if (KnowsNamedControls(memo, form, button)) {
        // The button's walk would not follow from the memo's split, so the
        // next button walks or reads the controls again.
        memo.Stage = CFormWalkMemo::EStage::Off;
        PostKnownControls(memo, go);
        return;
    } else {
        WalkIntoMemo(memo, form, button);
    }
    memo.Stage = CFormWalkMemo::EStage::ExpectAnchor;
    memo.Form = form;
    memo.FormCount = FormNumber(button);
    memo.Anchor = anchor;
    memo.AnchorEnd = anchor->GetNextSibling();
    memo.Leaves.clear();
    for (const CPostfield& postfield : memo.Before)
        if (!AppendPostfield(go, postfield)) return;
    for (size_t i = memo.AfterFrom; i < memo.After.size(); ++i)
        if (!AppendPostfield(go, memo.After[i].Postfield)) return;
}

// After a button the walk visits its anchor, whose subtree only holds the
// anchor's label and go task, then the anchor's end tag, then plain leaves
// one sibling after the other. Anything else ends what the memo can stand for.
void NoteVisitForForms(CFormWalkMemo& memo, const CXmlNode* node)
{
    using EStage = CFormWalkMemo::EStage;
    switch (memo.Stage) {
    case EStage::Off:
        return;
    case EStage::ExpectAnchor:
        memo.Stage = node == memo.Anchor ? EStage::InAnchor : EStage::Off;
        return;
    case EStage::InAnchor: {
        if (node == memo.AnchorEnd && node->GetPreviousSibling() == memo.Anchor) {
            memo.Stage = EStage::Leaves;
            return;
        }
        const CXmlNode* parent = node->GetParent();
        const bool inside = parent == memo.Anchor ||
                            (parent != nullptr && parent->GetParent() == memo.Anchor);
        const bool control = node->IsTag() && IsControlName(node->GetObject());
        if (!inside || control) memo.Stage = EStage::Off;
        return;
    }
    case EStage::Leaves: {
        const CXmlNode* last = memo.Leaves.empty() ? memo.AnchorEnd : memo.Leaves.back();
        if (node->GetPreviousSibling() == last && IsPlainLeaf(node))
            memo.Leaves.push_back(node);
        else
            memo.Stage = EStage::Off;
        return;
    }
    }
}
