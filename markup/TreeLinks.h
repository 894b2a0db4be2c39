// The document tree's link invariants: every child names its parent, the
// links between siblings agree both ways, a parent's first and last child
// end its list, and every token node shares its parent's document root.
#pragma once

#include <cassert>
#include <string>

class CXmlNode;

// Empty when every link of the tree below `root` holds, else what is wrong.
std::string CheckLinks(const CXmlNode* root);
// The same for one node, its neighbours and its parent's list ends only;
// null when they hold.
const char* LinkFaultAround(const CXmlNode* node);

// Checked after each edit of the tree in builds with assertions, on the
// nodes the edit touched; compiled out otherwise.
inline void AssertLinksAround(const CXmlNode* node)
{
    assert(node == nullptr || LinkFaultAround(node) == nullptr);
    (void)node;
}
