#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "devices/Xmldevice.h"

namespace {

// Trims bytes 1 to 32 at both ends; bytes from 128 up are content.
std::string TrimControlBytes(const char* text)
{
    std::string s = text != nullptr ? text : "";
    auto isBlankByte = [](char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return u >= 1 && u <= 32;
    };
    size_t begin = 0;
    while (begin < s.size() && isBlankByte(s[begin])) ++begin;
    size_t end = s.size();
    while (end > begin && isBlankByte(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

std::string LowerCase(const char* text)
{
    std::string s = text;
    return LowerCaseAscii(s);
}

}  // namespace

void RuleHtml(CXmlNode* node, const CContentModel& model)
{
    Rename(node, "wml");
    if (AtEndTag(node)) FilterElement(node, model);
}

// Only the title's first child counts, taken before text escaping.
void RuleTitle(CXmlNode* node, const CContentModel&)
{
    if (!node->IsStartTag()) return;
    FilterChildren(node, ContentTitle);
    CXmlNode* first = node->GetFirstChild();
    if (first == nullptr) return;
    std::string title = TrimControlBytes(first->GetText());
    first->GetObject()->ReplaceText(title);
    StateOf(node)->SetTitle(title.c_str());
}

void RuleCard(CXmlNode* node, const CContentModel& model)
{
    Rename(node, "card");
    CWorkingVariables* state = StateOf(node);
    if (node->IsStartTag()) {
        ++state->CardCount;
        return;
    }
    CXmlObject* card = FilterElement(node, model)->GetObject();
    if (card->GetAttribute("id") == nullptr)
        card->SetAttribute("id", ("card" + std::to_string(state->CardCount)).c_str());
    if (card->GetAttribute("title") == nullptr)
        card->SetAttribute("title", state->Title != nullptr ? state->Title : "");
    card->NormalizeBoolean("newcontext", "false");
    card->NormalizeBoolean("ordered", "true");
}

void RuleDo(CXmlNode* node, const CContentModel& model)
{
    if (!AtEndTag(node)) return;
    CXmlObject* task = FilterElement(node, model)->GetObject();
    const char* type = task->GetAttribute("type");
    task->SetAttribute("type", type != nullptr ? LowerCase(type).c_str() : "accept");
    task->NormalizeBoolean("optional", "false");
}

void RuleFilterAtEnd(CXmlNode* node, const CContentModel& model)
{
    if (AtEndTag(node)) FilterElement(node, model);
}

void RuleMeta(CXmlNode* node, const CContentModel& model)
{
    if (!AtEndTag(node)) return;
    CXmlNode* meta = FilterElement(node, model);
    if (meta->GetObject()->GetAttribute("content") == nullptr) DropTag(meta);
}
