#include "markup/Xmlnode.h"

#include <cassert>
#include <cstring>

CXmlNode::CXmlNode() : DocumentRoot(this) {}

CXmlNode::CXmlNode(CXmlObject* record) : DocumentRoot(this), Object(record) {}

CXmlNode::CXmlNode(const char* text) : DocumentRoot(this), Object(new CXmlObject)
{
    Object->SetText(text, static_cast<int>(strlen(text)));
}

// Destroys leaf-first, so no destructor call nests however deep or wide the
// subtree is: each deleted node is childless and only unlinks itself.
CXmlNode::~CXmlNode()
{
    for (CXmlNode* p = FirstChild; p != nullptr;) {
        if (p->FirstChild != nullptr) {
            p = p->FirstChild;
            continue;
        }
        CXmlNode* up = p->Parent;
        delete p;
        p = (up == this) ? FirstChild : up;
    }
    Unlink();
    delete Object;
    delete WorkingVariables;
}

void CXmlNode::SetWorkingVariables(CWorkingVariables* state)
{
    if (state == WorkingVariables) return;
    delete WorkingVariables;
    WorkingVariables = state;
}

const char* CXmlNode::GetName() const { return Object ? Object->GetName() : nullptr; }
const char* CXmlNode::GetText() const { return Object ? Object->GetText() : nullptr; }
bool CXmlNode::IsComment() const { return Object && Object->IsComment(); }
bool CXmlNode::IsTag() const { return Object && Object->IsTag(); }
bool CXmlNode::IsStartTag() const { return Object && Object->IsStartTag(); }
bool CXmlNode::IsEmptyOrEndTag() const { return Object && Object->IsEmptyOrEndTag(); }
bool CXmlNode::IsTextStyleTag() const { return Object && Object->IsTextStyleTag(); }
bool CXmlNode::IsVoidTag() const { return Object && Object->IsVoidTag(); }

bool CXmlNode::IsNamed(const char* name) const
{
    const char* own = GetName();
    return own != nullptr && strcmp(own, name) == 0;
}

CXmlNode* CXmlNode::GetNextNode() const
{
    if (FirstChild != nullptr) return FirstChild;
    if (NextSibling != nullptr) return NextSibling;
    return Parent != nullptr ? Parent->NextSibling : nullptr;
}

CXmlNode* CXmlNode::GetPreviousNode() const
{
    if (PreviousSibling == nullptr) return Parent;
    if (PreviousSibling->LastChild != nullptr) return PreviousSibling->LastChild;
    return PreviousSibling;
}

CXmlNode* CXmlNode::GetFirstNonBlankChild() const
{
    for (CXmlNode* child = FirstChild; child != nullptr; child = child->NextSibling)
        if (!IsBlank(child->GetText())) return child;
    return nullptr;
}

CXmlNode* CXmlNode::GetLastNonBlankChild() const
{
    for (CXmlNode* child = LastChild; child != nullptr; child = child->PreviousSibling)
        if (!IsBlank(child->GetText())) return child;
    return nullptr;
}

void CXmlNode::Unlink()
{
    if (Parent == nullptr) return;
    if (Parent->FirstChild == this) Parent->FirstChild = NextSibling;
    if (Parent->LastChild == this) Parent->LastChild = PreviousSibling;
    if (PreviousSibling != nullptr) PreviousSibling->NextSibling = NextSibling;
    if (NextSibling != nullptr) NextSibling->PreviousSibling = PreviousSibling;
    PreviousSibling = nullptr;
    NextSibling = nullptr;
}

// Links a detached node directly after this node, under this node's parent.
void CXmlNode::LinkAfter(CXmlNode* node)
{
    node->Parent = Parent;
    node->PreviousSibling = this;
    node->NextSibling = NextSibling;
    if (NextSibling != nullptr)
        NextSibling->PreviousSibling = node;
    else if (Parent != nullptr)
        Parent->LastChild = node;
    NextSibling = node;
}

void CXmlNode::LinkAsOnlyOrFirstChild(CXmlNode* node)
{
    node->Parent = this;
    node->PreviousSibling = nullptr;
    node->NextSibling = FirstChild;
    if (FirstChild != nullptr)
        FirstChild->PreviousSibling = node;
    else
        LastChild = node;
    FirstChild = node;
}

void CXmlNode::InsertFirstChild(CXmlNode* node)
{
    assert(node != this);
    node->DocumentRoot = DocumentRoot;
    node->Unlink();
    LinkAsOnlyOrFirstChild(node);
}

void CXmlNode::AppendChild(CXmlNode* node)
{
    if (FirstChild != nullptr) {
        FirstChild->AppendSibling(node);
        return;
    }
    InsertFirstChild(node);
}

void CXmlNode::InsertBefore(CXmlNode* node)
{
    if (PreviousSibling != nullptr) {
        PreviousSibling->InsertAfter(node);
        return;
    }
    assert(Parent != nullptr);
    Parent->InsertFirstChild(node);
}

void CXmlNode::InsertAfter(CXmlNode* node)
{
    assert(node != this);
    node->DocumentRoot = DocumentRoot;
    node->Unlink();
    LinkAfter(node);
}

void CXmlNode::AppendSibling(CXmlNode* node)
{
    assert(node != this);
    node->DocumentRoot = DocumentRoot;
    node->Unlink();
    CXmlNode* last = this;
    if (Parent != nullptr)
        last = Parent->LastChild;
    else
        while (last->NextSibling != nullptr) last = last->NextSibling;
    last->LinkAfter(node);
}

void CXmlNode::MoveChildrenAfter(CXmlNode* node)
{
    Trace("Move Children After\r\n");
    CXmlNode* after = node;
    while (FirstChild != nullptr) {
        CXmlNode* child = FirstChild;
        after->InsertAfter(child);
        after = child;
    }
}

void CXmlNode::MakeEmptyElement()
{
    if (Object != nullptr) Object->MakeEmptyElement();
    MoveChildrenAfter(this);
}
