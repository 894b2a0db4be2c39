#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/LineMarks.h"
#include "conversion/MainPassMemo.h"
#include "markup/ElementNames.h"
#include "platform/WorkStack.h"

namespace {

bool IsList(const CXmlNode* node)
{
    static const CElementSet lists("ol\0ul\0menu\0dir\0");
    return node->IsTag() && lists.Contains(node->GetObject());
}

// An attribute that holds a whole integer; false for any other value, which
// HTML ignores.
bool ReadInteger(const CXmlNode* node, const char* name, long& value)
{
    const char* text = node->GetObject()->GetAttribute(name);
    if (text == nullptr || text[0] == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0') return false;
    value = read;
    return true;
}

// The items of a list, those of the lists inside it not counted.
long CountItems(const CXmlNode* list)
{
    long count = 0;
    CWorkStack<const CXmlNode*> due;
    for (const CXmlNode* child = list->GetFirstChild(); child; child = child->GetNextSibling())
        due.push_back(child);
    while (!due.empty()) {
        const CXmlNode* node = due.back();
        due.pop_back();
        if (IsList(node)) continue;
        if (node->IsOpenStartTag() && node->IsNamed("li")) ++count;
        for (const CXmlNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
            due.push_back(child);
    }
    return count;
}

CListCount OpenList(const CXmlNode* list)
{
    CListCount count{list, list->IsNamed("ol"), 1, 1};
    if (!count.Ordered) return count;
    const bool reversed = list->GetObject()->GetAttribute("reversed") != nullptr;
    if (reversed) count.Step = -1;
    if (!ReadInteger(list, "start", count.Next) && reversed) count.Next = CountItems(list);
    return count;
}

// The number of an ordered list's item: its own value, or the list's count.
std::string ItemPrefix(CListCount* list, const CXmlNode* item)
{
    if (list == nullptr || !list->Ordered) return "* ";
    long number = list->Next;
    ReadInteger(item, "value", number);
    list->Next = number + list->Step;
    return std::to_string(number) + ". ";
}

}  // namespace

// Lists count their items while the walk is inside them; their tags go.
void RuleList(CXmlNode* node, const CContentModel& model)
{
    CMainPassMemo* memo = MainPassMemoOf(node);
    if (AtStartTag(node)) {
        if (memo != nullptr) memo->Lists.push_back(OpenList(node));
        return;
    }
    const CXmlNode* start = node->IsStartTag() ? node : node->GetPreviousSibling();
    if (memo != nullptr) {
        std::vector<CListCount>& lists = memo->Lists;
        while (!lists.empty() && lists.back().List != start) lists.pop_back();
        if (!lists.empty()) lists.pop_back();
    }
    RuleOther(node, model);
}

// An item begins its line with its mark: "* ", or its number in an ordered
// list. An item that holds nothing gets none.
void RuleListItem(CXmlNode* node, const CContentModel& model)
{
    if (!AtStartTag(node)) {
        RuleOther(node, model);
        return;
    }
    if (node->HasOnlyBlankContent()) return;
    CMainPassMemo* memo = MainPassMemoOf(node);
    CListCount* list = memo != nullptr && !memo->Lists.empty() ? &memo->Lists.back() : nullptr;
    MarkListItem(node, ItemPrefix(list, node));
}
