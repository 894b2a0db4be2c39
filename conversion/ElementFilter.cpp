#include "conversion/Conversion.h"
#include "conversion/ContentModels.h"
#include "markup/Xmlnode.h"

namespace {

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
    CXmlNode* node = element->GetFirstChild();
    while (node != nullptr) {
        bool keep = node->IsComment() || (node->IsTag() ? IsNameInList(node->GetName(), names)
                                                        : textAllowed);
        if (keep) {
            node = node->GetNextSibling();
            continue;
        }
        if (node->IsTag() && textAllowed) HoistChildren(node);
        CXmlNode* next = node->GetNextSibling();
        delete node;
        node = next;
    }
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
