#include <cstring>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/ContentModels.h"
#include "conversion/LineMarks.h"
#include "markup/Xmlnode.h"

namespace {

// An element whose children were filtered with the same content list, and
// have not changed since, needs no second judgement when the filter of an
// enclosing element unwraps it: its children would all stay again. This keeps
// elements that unwrap into each other, however deeply nested, linear.
bool ChildrenPassed(const CXmlNode* element, const CContentList& contentList)
{
    return element->WereChildrenFilteredWith(contentList.Number);
}

// Unwraps a disallowed element: its children follow its end tag and come up
// next in the same sweep. Without a next sibling they follow the tag itself.
void HoistChildren(CXmlNode* node)
{
    CXmlNode* after = node->GetNextSibling() != nullptr ? node->GetNextSibling() : node;
    node->MoveChildrenAfter(after);
}

// A page's "lang" becomes WML's "xml:lang" where the element has that
// attribute; one the page wrote as "xml:lang" wins. KeepAttributes then drops
// "lang" itself, which no WML element has.
void CarryLanguage(CXmlObject* tag, const char* attributeList)
{
    const char* lang = tag->GetAttribute("lang");
    if (lang == nullptr || tag->GetAttribute("xml:lang") != nullptr ||
        !IsNameInList("xml:lang", attributeList))
        return;
    tag->SetAttribute("xml:lang", std::string(lang).c_str());
}

// The attributes of the list only, with a page's "lang" carried over first.
void KeepListedAttributes(CXmlObject* tag, const char* attributeList)
{
    if (tag->GetAttributeCount() == 0) return;
    CarryLanguage(tag, attributeList);
    tag->KeepAttributes(attributeList);
}

void AddMissingAttributes(CXmlObject* tag, const char* requiredList)
{
    for (const char* name = requiredList; *name != '\0'; name += strlen(name) + 1)
        if (tag->GetAttribute(name) == nullptr) tag->SetAttribute(name, "");
}

}  // namespace

void FilterChildren(CXmlNode* element, const CContentList& contentList)
{
    const bool textAllowed = contentList.TextAllowed;
    CXmlNode* skipFirst = nullptr;
    CXmlNode* skipLast = nullptr;
    CXmlNode* node = element->GetFirstChild();
    while (node != nullptr) {
        if (node == skipFirst) {
            node = skipLast->GetNextSibling();
            skipFirst = nullptr;
            continue;
        }
        const bool keep =
            node->IsComment() ||
            (node->IsTag() ? contentList.Names.Contains(node->GetObject()) : textAllowed);
        if (keep) {
            node = node->GetNextSibling();
            continue;
        }
        if (node->IsTag() && textAllowed) {
            const CXmlNode* end = node->GetNextSibling();
            const bool passed = node->GetFirstChild() != nullptr &&
                                ChildrenPassed(node, contentList) &&
                                (end == nullptr || end->GetFirstChild() == nullptr);
            if (node->IsOpenStartTag() && IsLineBlock(node->GetObject())) MarkBlockLines(node);
            if (passed) {
                skipFirst = node->GetFirstChild();
                skipLast = node->GetLastChild();
            }
            HoistChildren(node);
        }
        CXmlNode* next = node->GetNextSibling();
        delete node;
        node = next;
    }
    element->RememberChildrenFilteredWith(contentList.Number);
}

CXmlNode* FilterElement(CXmlNode* node, const CContentList& contentList, const char* attributeList)
{
    CXmlNode* target = node;
    if (!node->IsStartTag()) {
        node->GetObject()->ClearAttributes();
        // An end tag always follows its start tag after the pre-pass; a lone
        // one is filtered as it stands.
        if (node->GetPreviousSibling() != nullptr) target = node->GetPreviousSibling();
    }
    FilterChildren(target, contentList);
    if (CXmlObject* tag = target->GetObject()) KeepListedAttributes(tag, attributeList);
    return target;
}

CXmlNode* FilterElement(CXmlNode* node, const CContentModel& model)
{
    CXmlNode* target = FilterElement(node, model.Content, model.Attributes);
    if (CXmlObject* tag = target->GetObject()) AddMissingAttributes(tag, model.Required);
    return target;
}

void KeepModelAttributes(CXmlNode* start, const CContentModel& model)
{
    CXmlObject* tag = start->GetObject();
    KeepListedAttributes(tag, model.Attributes);
    AddMissingAttributes(tag, model.Required);
}
