#include "markup/Xmlnode.h"

#include <cassert>
#include <cstring>
#include <type_traits>

#include "markup/NodeInternals.h"
#include "markup/RecordLayout.h"
#include "markup/TreeLinks.h"
#include "platform/Trace.h"
#include "platform/WorkStack.h"

namespace {

void Retain(CParentCell* cell) { ++cell->References; }

// Frees a cell nobody refers to, and in turn the cells it forwarded to.
void Release(CParentCell* cell)
{
    while (cell != nullptr && --cell->References == 0) {
        CParentCell* next = cell->Forward();
        delete cell;
        cell = next;
    }
}

void SetCell(CParentCell*& slot, CParentCell* cell)
{
    if (slot == cell) return;
    Retain(cell);
    CParentCell* old = slot;
    slot = cell;
    Release(old);
}

// Follows forwarded cells to the one that names the parent, and points every
// cell on the way straight at it, so later lookups take one step. A cell on
// the path is held while it is read.
CParentCell* Resolve(CParentCell*& slot)
{
    CParentCell* root = slot;
    while (root->Forward() != nullptr) root = root->Forward();
    if (root == slot) return root;
    CParentCell* held = slot;
    Retain(root);
    slot = root;
    for (CParentCell* p = held; p->Forward() != root;) {
        CParentCell* next = p->Forward();
        Retain(root);
        p->ForwardTo(root);
        Release(held);
        held = next;
        p = next;
    }
    Release(held);
    return root;
}

[[gnu::noinline]] CParentCell* ResolveForwarded(CParentCell*& cell)
{
    return Resolve(cell);
}

CXmlNode* OwnerOf(const CParentCell* cell) { return cell != nullptr ? cell->Owner() : nullptr; }

}  // namespace

CRootState::~CRootState()
{
    delete WorkingVariables;
}

// A record in a node tells the node of its changes through the node's
// address, which it shares.
static_assert(std::is_standard_layout_v<CXmlNode>, "a node's record is at the node's address");

// A root's record is empty and inline, so that its storage is free for the
// root state.
CXmlNode::CXmlNode()
{
    Record.Layout = CXmlObject::InlineLayout(0, 0);
    SetRootState(nullptr);
}

CXmlNode::CXmlNode(CXmlObject* record) : CXmlNode()
{
    if (record == nullptr) return;
    TakeRecord(*record);
    delete record;
}

void CXmlNode::TakeRecord(CXmlObject& record)
{
    if (!HasRecord()) {
        delete GetRootState();
        SetRootState(nullptr);
        Record.SetFlag(CXmlObject::InNodeFlag, true);
    }
    Record.TakeFrom(record);
}

CXmlNode::CXmlNode(const char* text) : CXmlNode(text, static_cast<int>(strlen(text))) {}

CXmlNode::CXmlNode(const CXmlObject& record)
{
    Record.SetFlag(CXmlObject::InNodeFlag, true);
    Record.CopyFrom(record);
}

CXmlNode::CXmlNode(const char* text, int length, const CMarkerWords& words)
{
    Record.SetFlag(CXmlObject::InNodeFlag, true);
    Record.SetText(text, length, words);
}

CXmlNode::CXmlNode(CNulFreeText text, const CMarkerWords& words)
{
    Record.SetFlag(CXmlObject::InNodeFlag, true);
    Record.SetTextWithoutNul(text.Text, text.Length, words);
}

void CXmlNode::NoteRecordChanged() const
{
    if (CParentCell* cell = ParentCell()) cell->NoteChildrenChanged();
}

bool CXmlNode::WereChildrenFilteredWith(uint8_t list) const
{
    const CParentCell* cell = OwnCell();
    return list != 0 && cell != nullptr && cell->FilteredList == list;
}

void CXmlNode::RememberChildrenFilteredWith(uint8_t list)
{
    if (CParentCell* cell = OwnCell()) cell->FilteredList = list;
}

CXmlNode::~CXmlNode()
{
    DestroyDescendants();
    Unlink();
    if (Cell != nullptr) Release(Cell);
    if (CParentCell* own = OwnCell()) {
        own->ForgetOwner();
        Release(own);
    }
    if (!HasRecord()) {
        delete GetRootState();
        SetRootState(nullptr);
    }
}

// Leaves this node's children as one work list: they are freed from its
// front, and a freed node's children go in front of the nodes after it. So
// no destructor call nests however deep or wide the subtree is, and no node
// is unlinked from a list that is about to go anyway.
void CXmlNode::DestroyDescendants()
{
    CXmlNode* next = DetachChildList();
    while (next != nullptr) {
        CXmlNode* node = next;
        next = node->NextSibling;
        if (CXmlNode* first = node->DetachChildList()) {
            first->PreviousSibling->NextSibling = next;
            next = first;
        }
        Release(node->Cell);
        node->Cell = nullptr;
        node->NextSibling = nullptr;
        delete node;
    }
}

// Empties the child list but keeps its cell, which the children still name.
CXmlNode* CXmlNode::DetachChildList()
{
    CXmlNode* first = GetFirstChild();
    if (first != nullptr) KeepOnlyCell(first->ParentCell());
    return first;
}

// Nearly every cell names its node directly; the forwarded case stays out of
// line so that the common case inlines into the tree walks.
CParentCell* CXmlNode::ParentCell() const
{
    if (Cell == nullptr || !Cell->Forwards) return Cell;
    return ResolveForwarded(Cell);
}

CXmlNode* CXmlNode::GetParent() const
{
    return OwnerOf(ParentCell());
}

CXmlNode* CXmlNode::GetDocumentRoot() const
{
    const CParentCell* cell = HasRecord() ? ParentCell() : nullptr;
    CXmlNode* root = cell != nullptr ? cell->DocumentRoot : nullptr;
    return root != nullptr ? root : const_cast<CXmlNode*>(this);
}

CParentCell* CXmlNode::OwnCell() const
{
    if ((Children & CellMark) != 0)
        return reinterpret_cast<CParentCell*>(Children & ~CellMark);
    const CXmlNode* first = GetFirstChild();
    return first != nullptr ? first->ParentCell() : nullptr;
}

CParentCell* CXmlNode::ChildListCell()
{
    if (CParentCell* own = OwnCell()) return own;
    CParentCell* cell = new CParentCell(this, GetDocumentRoot());
    KeepOnlyCell(cell);
    return cell;
}

CRootState& CXmlNode::RootState()
{
    assert(!HasRecord());
    if (GetRootState() == nullptr) SetRootState(new CRootState);
    return *GetRootState();
}

CXmlNode* CXmlNode::GetCurrentNode() const
{
    const CRootState* root = RootStateOrNull();
    return root != nullptr ? root->CurrentNode : nullptr;
}

CWorkingVariables* CXmlNode::GetWorkingVariables() const
{
    const CRootState* root = RootStateOrNull();
    return root != nullptr ? root->WorkingVariables : nullptr;
}

void CXmlNode::SetWorkingVariables(CWorkingVariables* state)
{
    if (state == GetWorkingVariables()) return;
    if (HasRecord()) {
        delete state;
        return;
    }
    CRootState& root = RootState();
    delete root.WorkingVariables;
    root.WorkingVariables = state;
}

bool CXmlNode::IsNamed(const char* name) const
{
    // Most names differ in their first byte, which spares the call, and
    // after the pre-pass every name is lower case already.
    const char* own = GetName();
    if (own == nullptr || LowerAscii(own[0]) != static_cast<unsigned char>(name[0])) return false;
    return Record.IsNameLowerCase() ? strcmp(own, name) == 0 : EqualNoCase(own, name);
}

CXmlNode* CXmlNode::GetNextNode() const
{
    if (CXmlNode* first = GetFirstChild()) return first;
    if (NextSibling != nullptr) return NextSibling;
    CXmlNode* parent = GetParent();
    return parent != nullptr ? parent->NextSibling : nullptr;
}

CXmlNode* CXmlNode::GetPreviousNode() const
{
    CXmlNode* previous = GetPreviousSibling();
    if (previous == nullptr) return GetParent();
    CXmlNode* last = previous->GetLastChild();
    return last != nullptr ? last : previous;
}

CXmlNode* CXmlNode::GetFirstNonBlankChild() const
{
    for (CXmlNode* child = GetFirstChild(); child != nullptr; child = child->NextSibling)
        if (!IsBlank(child->GetText())) return child;
    return nullptr;
}

CXmlNode* CXmlNode::GetLastNonBlankChild() const
{
    for (CXmlNode* child = GetLastChild(); child != nullptr; child = child->GetPreviousSibling())
        if (!IsBlank(child->GetText())) return child;
    return nullptr;
}

uint64_t CXmlNode::GetStructureChanges() const
{
    const CRootState* root = GetDocumentRoot()->RootStateOrNull();
    return root != nullptr ? root->StructureChanges : 0;
}

void CXmlNode::NoteStructureChanged() const
{
    const CXmlNode* root = GetDocumentRoot();
    if (root->HasRecord()) return;
    if (CRootState* state = root->GetRootState()) ++state->StructureChanges;
}

void CXmlNode::Unlink()
{
    CParentCell* cell = ParentCell();
    CXmlNode* parent = OwnerOf(cell);
    if (parent == nullptr) return;
    NoteStructureChanged();
    const CXmlNode* formerPrevious = GetPreviousSibling();
    const CXmlNode* formerNext = NextSibling;
    cell->NoteChildrenChanged();
    if (parent->GetFirstChild() == this) {
        // The next child becomes first and takes over the link to the last.
        if (NextSibling != nullptr) {
            parent->SetFirstChild(NextSibling);
            NextSibling->PreviousSibling = PreviousSibling;
        } else {
            parent->KeepOnlyCell(cell);
        }
    } else if (CXmlNode* previous = GetPreviousSibling()) {
        previous->NextSibling = NextSibling;
        if (NextSibling != nullptr)
            NextSibling->PreviousSibling = previous;
        else
            parent->GetFirstChild()->PreviousSibling = previous;
    } else if (NextSibling != nullptr) {
        // Heads a list without a parent (see LinkAfter): the next node heads it now.
        NextSibling->PreviousSibling = nullptr;
    }
    PreviousSibling = nullptr;
    NextSibling = nullptr;
    AssertLinksAround(formerPrevious);
    AssertLinksAround(formerNext);
    AssertLinksAround(parent);
}

// The cells of a subtree entering this document name its root. A node
// without a record stays the root of a document of its own, with everything
// below it.
void CXmlNode::AdoptSubtree(CXmlNode* node) const
{
    CXmlNode* root = GetDocumentRoot();
    CWorkStack<CXmlNode*> due;
    due.push_back(node);
    while (!due.empty()) {
        CXmlNode* n = due.back();
        due.pop_back();
        CParentCell* own = n->OwnCell();
        if (!n->HasRecord() || own == nullptr) continue;
        own->DocumentRoot = root;
        for (CXmlNode* child = n->GetFirstChild(); child != nullptr; child = child->NextSibling)
            due.push_back(child);
    }
}

void CXmlNode::HoldUnplaced(CXmlNode* node)
{
    SetCell(node->Cell, ChildListCell());
}

// A node taken out of its parent's list still names the parent; what is
// linked after it forms a list without a parent.
CXmlNode* CXmlNode::ListParent(const CParentCell* cell) const
{
    CXmlNode* parent = OwnerOf(cell);
    if (parent != nullptr && parent->GetFirstChild() != this && GetPreviousSibling() == nullptr)
        return nullptr;
    return parent;
}

// Links a detached node directly after this node, under this node's parent.
void CXmlNode::LinkAfter(CXmlNode* node)
{
    CParentCell* cell = ParentCell();
    CXmlNode* parent = ListParent(cell);
    if (parent != nullptr) {
        cell->NoteChildrenChanged();
        SetCell(node->Cell, cell);
    } else if (node->Cell != nullptr) {
        Release(node->Cell);
        node->Cell = nullptr;
    }
    node->PreviousSibling = this;
    node->NextSibling = NextSibling;
    if (NextSibling != nullptr)
        NextSibling->PreviousSibling = node;
    else if (parent != nullptr)
        parent->GetFirstChild()->PreviousSibling = node;
    NextSibling = node;
}

void CXmlNode::LinkAsOnlyOrFirstChild(CXmlNode* node)
{
    CParentCell* cell = ChildListCell();
    cell->NoteChildrenChanged();
    SetCell(node->Cell, cell);
    CXmlNode* first = GetFirstChild();
    node->PreviousSibling = first != nullptr ? first->PreviousSibling : node;
    node->NextSibling = first;
    if (first != nullptr) first->PreviousSibling = node;
    SetFirstChild(node);
}

void CXmlNode::InsertFirstChild(CXmlNode* node)
{
    assert(node != this);
    AdoptIntoDocument(node);
    node->Unlink();
    LinkAsOnlyOrFirstChild(node);
    AssertLinksAround(node);
}

void CXmlNode::AppendChild(CXmlNode* node)
{
    if (CXmlNode* first = GetFirstChild()) {
        first->AppendSibling(node);
        return;
    }
    InsertFirstChild(node);
}

void CXmlNode::InsertBefore(CXmlNode* node)
{
    if (CXmlNode* previous = GetPreviousSibling()) {
        previous->InsertAfter(node);
        return;
    }
    CXmlNode* parent = GetParent();
    assert(parent != nullptr);
    parent->InsertFirstChild(node);
}

void CXmlNode::InsertAfter(CXmlNode* node)
{
    assert(node != this);
    AdoptIntoDocument(node);
    node->Unlink();
    LinkAfter(node);
    AssertLinksAround(node);
}

void CXmlNode::AppendSibling(CXmlNode* node)
{
    assert(node != this);
    AdoptIntoDocument(node);
    node->Unlink();
    // The tree builder nearly always appends behind the last node of a list.
    CXmlNode* last = this;
    if (NextSibling != nullptr) {
        CXmlNode* parent = GetParent();
        if (parent != nullptr)
            last = parent->GetLastChild();
        else
            while (last->NextSibling != nullptr) last = last->NextSibling;
    }
    last->LinkAfter(node);
    AssertLinksAround(node);
}

// The followers leave their list in one cut and join this node's list in
// one splice; each of them only changes its cell (and its document, when it
// comes from another).
void CXmlNode::AppendFollowersOf(CXmlNode* node)
{
    CXmlNode* first = node->NextSibling;
    if (first == nullptr) return;
    node->NoteStructureChanged();
    CParentCell* from = node->ParentCell();
    CXmlNode* parent = ListParent(from);
    CXmlNode* last = parent != nullptr ? parent->GetLastChild() : first;
    if (parent != nullptr) {
        from->NoteChildrenChanged();
        parent->GetFirstChild()->PreviousSibling = node;
    } else {
        while (last->NextSibling != nullptr) last = last->NextSibling;
    }
    node->NextSibling = nullptr;
    const bool sameDocument = parent != nullptr && parent->GetDocumentRoot() == GetDocumentRoot();
    CParentCell* to = ChildListCell();
    to->NoteChildrenChanged();
    for (CXmlNode* n = first; n != nullptr; n = n->NextSibling) {
        if (!sameDocument) AdoptIntoDocument(n);
        SetCell(n->Cell, to);
    }
    if (CXmlNode* lastChild = GetLastChild()) {
        lastChild->NextSibling = first;
        first->PreviousSibling = lastChild;
        GetFirstChild()->PreviousSibling = last;
    } else {
        first->PreviousSibling = last;
        SetFirstChild(first);
    }
    AssertLinksAround(node);
    AssertLinksAround(first);
    AssertLinksAround(last);
}

// Moves the whole child list in one step when `node` stands in another list
// of a parent: the list's cell then forwards to that parent's cell.
bool CXmlNode::SpliceChildrenAfter(CXmlNode* node)
{
    CParentCell* target = node->ParentCell();
    CXmlNode* parent = OwnerOf(target);
    if (parent == nullptr || parent == this || node->GetDocumentRoot() != GetDocumentRoot())
        return false;
    target->NoteChildrenChanged();
    CParentCell* moved = OwnCell();
    CXmlNode* first = GetFirstChild();
    CXmlNode* last = GetLastChild();
    KeepOnlyCell(nullptr);
    first->PreviousSibling = node;
    last->NextSibling = node->NextSibling;
    if (node->NextSibling != nullptr)
        node->NextSibling->PreviousSibling = last;
    else
        parent->GetFirstChild()->PreviousSibling = last;
    node->NextSibling = first;
    moved->ForwardTo(target);
    Retain(target);
    Release(moved);
    AssertLinksAround(this);
    AssertLinksAround(first);
    AssertLinksAround(last);
    return true;
}

void CXmlNode::MoveChildrenAfter(CXmlNode* node)
{
    Trace("Move Children After\r\n");
    if (GetFirstChild() == nullptr) return;
    NoteStructureChanged();
    if (SpliceChildrenAfter(node)) return;
    CXmlNode* after = node;
    while (CXmlNode* child = GetFirstChild()) {
        after->InsertAfter(child);
        after = child;
    }
}

void CXmlNode::MakeEmptyElement()
{
    if (HasRecord()) Record.MakeEmptyElement();
    MoveChildrenAfter(this);
}
