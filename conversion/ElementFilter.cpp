#include "conversion/Conversion.h"
#include "conversion/ContentModels.h"
#include "markup/Xmlnode.h"

namespace {

// The element filtered last, with its content list: when the filter of the
// enclosing element unwraps it before anything else changed, its children
// are known to pass the same list and need not be judged again. This keeps a
// chain of nested elements that unwrap into each other linear.
struct CLastFilter {
    const CXmlNode* Element = nullptr;
    const char* ContentList = nullptr;
    uint64_t EditCount = 0;
};
CLastFilter LastFilter;

bool ChildrenPassed(const CXmlNode* element, const char* contentList)
{
    return LastFilter.Element == element && LastFilter.ContentList == contentList &&
           LastFilter.EditCount == MarkupEditCount;
}

// Unwraps a disallowed element: its children follow its end tag and come up
// next in the same sweep. Without a next sibling they follow the tag itself.
void HoistChildren(CXmlNode* node)
{
    CXmlNode* after = node->GetNextSibling() != nullptr ? node->GetNextSibling() : node;
    node->MoveChildrenAfter(after);
}

}  // namespace

void FilterChildren(CXmlNode* element, const char* contentList)
{
    const bool textAllowed = contentList[0] == 1;
    const char* names = contentList + 1;
    CXmlNode* skipFirst = nullptr;
    CXmlNode* skipLast = nullptr;
    CXmlNode* node = element->GetFirstChild();
    while (node != nullptr) {
        if (node == skipFirst) {
            node = skipLast->GetNextSibling();
            skipFirst = nullptr;
            continue;
        }
        bool keep = node->IsComment() || (node->IsTag() ? IsNameInList(node->GetName(), names)
                                                        : textAllowed);
        if (keep) {
            node = node->GetNextSibling();
            continue;
        }
        if (node->IsTag() && textAllowed) {
            const CXmlNode* end = node->GetNextSibling();
            if (node->GetFirstChild() != nullptr && ChildrenPassed(node, contentList) &&
                (end == nullptr || end->GetFirstChild() == nullptr)) {
                skipFirst = node->GetFirstChild();
                skipLast = node->GetLastChild();
            }
            HoistChildren(node);
        }
        CXmlNode* next = node->GetNextSibling();
        delete node;
        node = next;
    }
    LastFilter = {element, contentList, MarkupEditCount};
}

CXmlNode* FilterElement(CXmlNode* node, const char* contentList, const char* attributeList)
{
    CXmlNode* target = node;
    if (!node->IsStartTag()) {
        node->GetObject()->ClearAttributes();
        // An end tag always follows its start tag after the pre-pass; a lone
        // one is filtered as it stands.
        if (node->GetPreviousSibling() != nullptr) target = node->GetPreviousSibling();
    }
    FilterChildren(target, contentList);
    if (target->GetObject() != nullptr) target->GetObject()->KeepAttributes(attributeList);
    return target;
}

CXmlNode* FilterElement(CXmlNode* node, const CContentModel& model)
{
    return FilterElement(node, model.Content, model.Attributes);
}
