// The orders in which the passes walk the document tree, each written once.
// Every walk keeps its place in an explicit stack, so the depth of the page
// never reaches the call stack.
#pragma once

#include <cstddef>

#include "markup/Xmlnode.h"
#include "platform/WorkStack.h"

// Document order from `first` on: `visit(node, depth)` runs on a node, then
// the walk enters its subtree (the first child is read after the visit, so
// nodes the visit inserted or hoisted are visited too), then goes on to its
// next sibling, read after the subtree. `depth` is 1 for `first` and its
// following siblings. The walk stops when `visit` returns false; the result
// says whether it went to the end.
template <typename Visit>
bool WalkNodesFirst(CXmlNode* first, Visit visit)
{
    CWorkStack<CXmlNode*> due;
    size_t depth = 1;  // of the node `n`: one more than the nodes in `due`
    for (CXmlNode* n = first; n != nullptr || !due.empty();) {
        if (n == nullptr) {
            n = due.back()->GetNextSibling();
            due.pop_back();
            --depth;
            continue;
        }
        if (!visit(n, depth)) return false;
        // A node without children goes on to its next sibling at once: no
        // visit comes between, so nothing changes that it would read.
        if (CXmlNode* child = n->GetFirstChild()) {
            due.push_back(n);
            ++depth;
            n = child;
        } else {
            n = n->GetNextSibling();
        }
    }
    return true;
}

// Each node after its descendants, from `first` on, the siblings in document
// order; the first child is read on arrival, the next sibling after `leave`
// ran on the node.
template <typename Leave>
void WalkDescendantsFirst(CXmlNode* first, Leave leave)
{
    CWorkStack<CXmlNode*> due;
    for (CXmlNode* n = first; n != nullptr || !due.empty();) {
        // A node without children is left at once, as it would be next.
        if (n != nullptr && n->GetFirstChild() == nullptr) {
            leave(n);
            n = n->GetNextSibling();
            continue;
        }
        if (n != nullptr) {
            due.push_back(n);
            n = n->GetFirstChild();
            continue;
        }
        CXmlNode* done = due.back();
        due.pop_back();
        leave(done);
        n = done->GetNextSibling();
    }
}

// Each node after its descendants and after all the siblings that follow it,
// from `first` on; the first child is read on arrival, the next sibling once
// the children are done.
template <typename Leave>
void WalkFollowersFirst(CXmlNode* first, Leave leave)
{
    struct Frame {
        CXmlNode* Node;
        int Step;
    };
    CWorkStack<Frame> frames;
    frames.push_back({first, 0});
    while (!frames.empty()) {
        Frame& frame = frames.back();
        CXmlNode* node = frame.Node;
        if (frame.Step == 0) {
            frame.Step = 1;
            if (node->GetFirstChild() != nullptr) frames.push_back({node->GetFirstChild(), 0});
        } else if (frame.Step == 1) {
            frame.Step = 2;
            if (node->GetNextSibling() != nullptr) frames.push_back({node->GetNextSibling(), 0});
        } else {
            frames.pop_back();
            leave(node);
        }
    }
}

// Sweeps the subtree of `top`: `arrive` runs on a node first; then its
// children from the second to the last, each swept fully, then its first
// child; then `leave` runs on the node and may delete it (and its next
// sibling). A deleted child never makes the sweep skip the one after it: the
// sweep goes on after the last child that survived. Iterative, so the depth
// of the page does not reach the call stack.
template <typename Arrive, typename Leave>
void SweepChildrenFirst(CXmlNode* top, Arrive arrive, Leave leave)
{
    // A page nests as deep as it likes, so a frame is kept small: a frame
    // whose Cursor is its own node has swept the siblings and waits for the
    // first child, and the child swept last is remembered outside the frames.
    struct Frame {
        CXmlNode* Node;
        CXmlNode* Cursor;  // last child that survived its sweep
    };
    CWorkStack<Frame> frames;
    // The node whose sweep ended last; its parent's frame is the next on top.
    CXmlNode* left = nullptr;
    // A node without children is left right after its arrival, as its frame
    // would be next; it takes no frame.
    auto enter = [&](CXmlNode* node) {
        arrive(node);
        CXmlNode* first = node->GetFirstChild();
        if (first == nullptr) {
            left = node;
            leave(node);
            return;
        }
        frames.push_back({node, first});
        left = nullptr;
    };
    enter(top);
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.Cursor == frame.Node) {
            left = frame.Node;
            frames.pop_back();
            leave(left);
            continue;
        }
        if (left != nullptr && frame.Cursor->GetNextSibling() == left) frame.Cursor = left;
        if (CXmlNode* next = frame.Cursor->GetNextSibling()) {
            enter(next);
            continue;
        }
        frame.Cursor = frame.Node;
        enter(frame.Node->GetFirstChild());
    }
}
