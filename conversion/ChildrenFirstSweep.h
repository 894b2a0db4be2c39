// The clean-up sweep order shared by the pre-pass prune and the final
// clean-up (conversion-private).
#pragma once

#include "markup/WorkStack.h"
#include "markup/Xmlnode.h"

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
    auto enter = [&](CXmlNode* node) {
        arrive(node);
        CXmlNode* first = node->GetFirstChild();
        frames.push_back({node, first == nullptr ? node : first});
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
