// Internals of the document tree shared by the markup sources only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "markup/ElementNames.h"
#include "markup/Xmlnode.h"

// The identity of one child list: the children of a node point here, and the
// cell names the node and the node's document root. When a whole child list
// moves to another parent, its cell forwards to that parent's cell instead of
// every child being updated.
struct CParentCell {
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);

    CParentCell(CXmlNode* owner, CXmlNode* documentRoot) : Link(owner), DocumentRoot(documentRoot)
    {
    }
    // The node the cell names; null once it forwards or its node is gone.
    CXmlNode* Owner() const { return Forwards ? nullptr : static_cast<CXmlNode*>(Link); }
    // The cell this list moved into, or null.
    CParentCell* Forward() const { return Forwards ? static_cast<CParentCell*>(Link) : nullptr; }
    void ForgetOwner()
    {
        Link = nullptr;
        DocumentRoot = nullptr;
    }
    void ForwardTo(CParentCell* cell)
    {
        Link = cell;
        Forwards = true;
    }
    // A child joined, left or changed: the filter's memo no longer holds.
    void NoteChildrenChanged() { FilteredList = 0; }

    // A cell names either a node or another cell, never both.
    void* Link;
    // The root of the owner's document; null once the owner is gone.
    CXmlNode* DocumentRoot;
    uint32_t References = 1;
    bool Forwards = false;
    // The content list the children were last filtered with, while they
    // stay as they were then; 0 for none.
    uint8_t FilteredList = 0;
};

// Open start tags among the tree builder's current node and its ancestors,
// by name code, or by lower-case name for names without one: an end tag
// whose name is not here closes nothing. A code's count takes one byte; past
// 255 the rest of it is kept in Deep, which only deeply nested pages use.
struct COpenTagCounts {
    std::array<uint8_t, ElementCodeBound> Codes{};
    std::unordered_map<uint8_t, int> Deep;
    std::unordered_map<std::string, int> Names;
};

// State that only a document root carries.
struct CRootState {
    CRootState() = default;
    CRootState(const CRootState&) = delete;
    CRootState& operator=(const CRootState&) = delete;
    ~CRootState();

    // The node the tree builder placed last.
    CXmlNode* CurrentNode = nullptr;
    CWorkingVariables* WorkingVariables = nullptr;
    // The counts follow from the current node's ancestors, so they are kept
    // only while a text is being parsed and worked out again when a token
    // comes later. The outermost parse keeps them on its own stack, so that
    // a conversion takes no heap for them; a token placed outside any parse
    // keeps them in OpenTagsOutsideParse until the next parse begins.
    COpenTagCounts* OpenTags = nullptr;
    std::unique_ptr<COpenTagCounts> OpenTagsOutsideParse;
    int ParseDepth = 0;
    // How often a node of the document has left its place (see GetStructureChanges).
    uint64_t StructureChanges = 0;
    // Set while the lines of a preformatted text run are placed one by one.
    bool PlacingPreformattedLines = false;
};
