#include "markup/TreeLinks.h"

#include <vector>

#include "markup/Xmlnode.h"

namespace {

// The parent whose list the node stands in: an unlinked node still names
// its former parent, and the nodes linked after it stand in no parent's list.
const CXmlNode* ListParentOf(const CXmlNode* node)
{
    const CXmlNode* parent = node->GetParent();
    if (parent == nullptr) return nullptr;
    const bool listed = parent->GetFirstChild() == node || node->GetPreviousSibling() != nullptr;
    return listed ? parent : nullptr;
}

const char* SiblingFault(const CXmlNode* node, const CXmlNode* parent)
{
    const CXmlNode* previous = node->GetPreviousSibling();
    const CXmlNode* next = node->GetNextSibling();
    if (previous != nullptr && previous->GetNextSibling() != node) return "wrong next sibling";
    if (next != nullptr && next->GetPreviousSibling() != node) return "wrong previous sibling";
    if (previous != nullptr && ListParentOf(previous) != parent) return "wrong parent";
    if (next != nullptr && ListParentOf(next) != parent) return "wrong parent";
    return nullptr;
}

const char* ListEndFault(const CXmlNode* node, const CXmlNode* parent)
{
    if (node->GetPreviousSibling() == nullptr && parent->GetFirstChild() != node)
        return "wrong first child";
    if (node->GetNextSibling() == nullptr && parent->GetLastChild() != node)
        return "wrong last child";
    if (node->GetObject() != nullptr && node->GetDocumentRoot() != parent->GetDocumentRoot())
        return "wrong document root";
    return nullptr;
}

const char* ChildListFault(const CXmlNode* node)
{
    const CXmlNode* first = node->GetFirstChild();
    if (first == nullptr) return nullptr;
    if (first->GetParent() != node) return "wrong parent";
    const CXmlNode* last = node->GetLastChild();
    if (last == nullptr || last->GetNextSibling() != nullptr) return "wrong last child";
    return nullptr;
}

}  // namespace

const char* LinkFaultAround(const CXmlNode* node)
{
    const CXmlNode* parent = ListParentOf(node);
    if (const char* fault = SiblingFault(node, parent)) return fault;
    if (parent != nullptr)
        if (const char* fault = ListEndFault(node, parent)) return fault;
    return ChildListFault(node);
}

std::string CheckLinks(const CXmlNode* root)
{
    std::vector<const CXmlNode*> due{root};
    while (!due.empty()) {
        const CXmlNode* node = due.back();
        due.pop_back();
        const CXmlNode* previous = nullptr;
        for (const CXmlNode* child = node->GetFirstChild(); child;
             child = child->GetNextSibling()) {
            if (child->GetParent() != node) return "wrong parent";
            if (child->GetPreviousSibling() != previous) return "wrong previous sibling";
            if (const char* fault = LinkFaultAround(child)) return fault;
            previous = child;
            due.push_back(child);
        }
        if (node->GetLastChild() != previous) return "wrong last child";
    }
    return "";
}
