// Internals of the document tree shared by the markup sources only.
#pragma once

#include <array>
#include <string>
#include <unordered_map>

#include "markup/ElementNames.h"
#include "markup/Xmlnode.h"

// The identity of one child list: the children of a node point here, and the
// cell names the node. When a whole child list moves to another parent, its
// cell forwards to that parent's cell instead of every child being updated.
struct CParentCell {
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);

    CXmlNode* Owner;
    CParentCell* Forward;
    size_t References;
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
    // Open start tags among the current node and its ancestors, by name
    // code, or by lower-case name for names without one: an end tag whose
    // name is not here closes nothing.
    std::array<int, ElementCodeBound> OpenCodes{};
    std::unordered_map<std::string, int> OpenNames;
};
