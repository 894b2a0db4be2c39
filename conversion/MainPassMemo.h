// What the main pass remembers between its rules, so that no page shape makes
// a rule search the whole page again (conversion-private).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "markup/Xmlnode.h"

// What a postfield sends: the field's name and its value.
struct CPostfield {
    // False for the postfield of a node that sends nothing.
    bool Sends = false;
    std::string Name;
    std::string Value;
    // The postfield's tag, made when it is first added: the buttons of a form
    // post the same fields, and each adds a copy.
    mutable std::unique_ptr<CXmlObject> Tag;
};

// A postfield and the node it was made from.
struct CNodePostfield {
    const CXmlNode* Node;
    CPostfield Postfield;
};

// The postfields that the last submit button's walk of its form found, split
// at the button, and the nodes the main pass has visited since. A later button
// of the same form takes them over instead of walking the form again when
// nothing but the last button's anchor and plain leaves came between.
struct CFormWalkMemo {
    enum class EStage { Off, ExpectAnchor, InAnchor, Leaves };
    EStage Stage = EStage::Off;
    const CXmlNode* Form = nullptr;
    int FormCount = 0;
    const CXmlNode* Anchor = nullptr;
    const CXmlNode* AnchorEnd = nullptr;
    // The nodes visited after the anchor's end tag, each the next sibling of the one before.
    std::vector<const CXmlNode*> Leaves;
    // Postfields of the nodes before the button in the walk's order, and after it.
    std::vector<CPostfield> Before;
    std::vector<CNodePostfield> After;
    size_t AfterFrom = 0;
    // The controls with a name that the last walk of a form found, in the
    // walk's order, and the document's structure count then. While no node
    // has left its place since, they are the only nodes of the form that can
    // post anything, in that order. When there are none, the form's later
    // buttons post nothing from it whatever moves: the main pass names no
    // control that had none.
    const CXmlNode* ControlsForm = nullptr;
    int ControlsFormCount = 0;
    uint64_t ControlsStructure = 0;
    std::vector<const CXmlNode*> NamedControls;
};

// A list the walk is inside: the number its next item gets, and whether the
// numbers go up or down.
struct CListCount {
    const CXmlNode* List;
    bool Ordered;
    long Next;
    long Step;
};

class CMainPassMemo : public CPassMemo {
public:
    // The search for the deck's wml element has passed every root child up to
    // this one: they were walked already, and none is a wml start tag.
    const CXmlNode* WmlSearchedTo = nullptr;
    // Whether any open start tag of the page is named wml: -1 until asked.
    int PageHasWml = -1;
    CFormWalkMemo FormWalk;
    // Bytes of postfields added so far; past the deck bound the walk stops.
    long long AddedBytes = 0;
    bool OverBound = false;
    // The lists around the node the walk visits, the innermost last.
    std::vector<CListCount> Lists;
};

// The memo of the node's conversion, made on first use; null outside a conversion.
// The walk only reads it once it exists (StateOf(node)->MainPassMemo).
CMainPassMemo* MainPassMemoOf(const CXmlNode* node);
// Counts bytes the pass adds to the deck; true while the deck stays in bounds.
bool NoteAddedBytes(const CXmlNode* node, size_t bytes);
// The form memo's record of each node the main pass visits, before its rule.
void NoteVisitForForms(CFormWalkMemo& memo, const CXmlNode* node);
