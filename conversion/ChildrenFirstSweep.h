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
    // A frame whose Pending is its own node has swept the siblings and
    // waits for the first child: a page nests as deep as it likes, so a
    // frame is kept small.
    struct Frame {
        CXmlNode* Node;
        CXmlNode* Cursor;   // last child that survived its sweep
        CXmlNode* Pending;  // child being swept after Cursor
    };
    CWorkStack<Frame> frames;
    auto enter = [&](CXmlNode* node) {
        arrive(node);
        CXmlNode* first = node->GetFirstChild();
        frames.push_back({node, first, first == nullptr ? node : nullptr});
    };
    enter(top);
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.Pending == frame.Node) {
            CXmlNode* node = frame.Node;
            frames.pop_back();
            leave(node);
            continue;
        }
        if (frame.Pending != nullptr && frame.Cursor->GetNextSibling() == frame.Pending)
            frame.Cursor = frame.Pending;
        frame.Pending = frame.Cursor->GetNextSibling();
        if (frame.Pending != nullptr) {
            enter(frame.Pending);
            continue;
        }
        frame.Pending = frame.Node;
        enter(frame.Node->GetFirstChild());
    }
}
