#include <algorithm>
#include <cstring>
#include <string>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

namespace {

// Replacement texts are parsed into the page while it is parsed, and their
// tags are replaced again, so an entry that leads back to its own element
// (b=<b>|</b>) would never end. Beyond this nesting a tag stays as it stands;
// chains of different entries up to this depth still work. The count of
// replacements under one tag of the page is bounded too, because a cycle that
// branches (x=<x><x>) would otherwise grow exponentially with the nesting.
const int MaxReplacementNesting = 16;
const int MaxNestedReplacements = 256;

// Even within those limits, entries that replace a tag by several of itself
// multiply the page: a few hundred bytes could become megabytes of markup,
// and a form of hundreds of buttons that each post hundreds of fields. The
// replacement texts of one conversion add at most this many times the page's
// length, and at least the floor below; past that a tag stays as it stands.
const size_t ReplacementBytesPerPageByte = 4;
const size_t ReplacementBytesFloor = 4 * 1024;

size_t ReplacementBudget(const CWorkingVariables& state)
{
    return std::max(ReplacementBytesFloor, ReplacementBytesPerPageByte * state.PageLength);
}

// Takes the replacement's bytes from the conversion's budget, if it holds them.
bool TakeReplacementBytes(CWorkingVariables& state, size_t bytes)
{
    if (bytes > ReplacementBudget(state) - state.ReplacedBytes) return false;
    state.ReplacedBytes += bytes;
    return true;
}

// The counts live in the conversion's working state: conversions on other
// threads count for themselves.
class CNestingGuard {
public:
    explicit CNestingGuard(CWorkingVariables& state) : State(state) { ++State.ReplacementNesting; }
    ~CNestingGuard() { --State.ReplacementNesting; }
    CNestingGuard(const CNestingGuard&) = delete;
    CNestingGuard& operator=(const CNestingGuard&) = delete;

private:
    CWorkingVariables& State;
};

// A tag of the page starts a fresh count; a tag from a replacement text is
// replaced only within the nesting and count limits.
bool TakeReplacementTurn(CWorkingVariables& state)
{
    if (state.ReplacementNesting == 0) {
        state.NestedReplacementsLeft = MaxNestedReplacements;
        return true;
    }
    if (state.ReplacementNesting >= MaxReplacementNesting || state.NestedReplacementsLeft == 0)
        return false;
    --state.NestedReplacementsLeft;
    return true;
}

std::string SearchKey(const char* name)
{
    std::string key = ",";
    key += name;
    key += '=';
    return LowerCaseAscii(key);
}

// The tree builder's last node before the tag, blank text runs skipped; the
// document root counts as none.
const CXmlNode* PreviousNode(const CXmlNode* lastAdded)
{
    const CXmlNode* node = lastAdded;
    while (node != nullptr && node->GetObject() != nullptr && !node->IsTag() &&
           !node->IsComment() && IsBlank(node->GetText()))
        node = node->GetPreviousNode();
    if (node == nullptr || node->GetObject() == nullptr) return nullptr;
    return node;
}

// The opening text for a start or empty tag, the text after the first bar for
// an end tag (none when the entry has no bar).
std::string ChooseReplacement(const std::string& value, bool startTag)
{
    const size_t bar = value.find('|');
    if (startTag) return value.substr(0, bar);
    return bar == std::string::npos ? std::string() : value.substr(bar + 1);
}

bool IsLineBreak(const std::string& text)
{
    return EqualNoCase(text.c_str(), "<br>") || EqualNoCase(text.c_str(), "<br/>");
}

// A break right after the same break is not inserted again, so p=<br/>|<br/>
// puts one break between two paragraphs.
bool IsDuplicateLineBreak(const std::string& text, const CXmlNode* previous)
{
    if (previous == nullptr) return false;
    const char* name = previous->GetName();
    if (name == nullptr || *name == '\0') return false;
    return IsLineBreak(text) && EqualNoCase(previous->GetText(), text.c_str());
}

}  // namespace

bool HasTagReplacements(const CDevice* device)
{
    return device != nullptr && ProfileOf(device)->TagReplace[0] != '\0';
}

int ReplaceTag(CXmlNode* node, const CDevice* device, CXmlNode* lastAdded)
{
    if (!HasTagReplacements(device)) return 0;
    const char* name = node->GetName();
    if (name == nullptr || *name == '\0') return 0;
    const char* list = ProfileOf(device)->TagReplace;
    const std::string key = SearchKey(name);
    const char* entry = strstr(list, key.c_str());
    if (entry == nullptr) return 0;
    CXmlNode* root = node->GetDocumentRoot();
    CWorkingVariables* state = root->GetWorkingVariables();
    if (state == nullptr || !TakeReplacementTurn(*state)) return 0;

    const char* valueStart = entry + key.size();
    const std::string value(valueStart, strcspn(valueStart, ","));
    const std::string replacement = ChooseReplacement(value, node->IsStartTag());
    const bool inserts =
        !replacement.empty() && !IsDuplicateLineBreak(replacement, PreviousNode(lastAdded));
    if (inserts && !TakeReplacementBytes(*state, replacement.size())) return 0;
    if (inserts) {
        CNestingGuard guard(*state);
        root->Parse(replacement.data(), static_cast<int>(replacement.size()));
    }
    node->GetObject()->SetName("");
    return 1;
}
