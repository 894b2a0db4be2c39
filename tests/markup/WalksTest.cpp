#include <gtest/gtest.h>

#include <string>

#include "markup/Walks.h"
#include "markup/Xmlnode.h"

namespace {

// a (b (c), d), e: text nodes, so each node's text names it.
struct CSmallTree {
    CSmallTree()
    {
        CXmlNode* a = new CXmlNode("a");
        Root.AppendChild(a);
        Root.AppendChild(new CXmlNode("e"));
        CXmlNode* b = new CXmlNode("b");
        a->AppendChild(b);
        a->AppendChild(new CXmlNode("d"));
        b->AppendChild(new CXmlNode("c"));
    }
    CXmlNode* First() const { return Root.GetFirstChild(); }

    CXmlNode Root;
};

TEST(Walks, EachOrderVisitsEveryNodeOnce)
{
    CSmallTree tree;
    std::string nodesFirst;
    EXPECT_TRUE(WalkNodesFirst(tree.First(), [&](CXmlNode* node, size_t depth) {
        nodesFirst += node->GetText() + std::to_string(depth);
        return true;
    }));
    EXPECT_EQ(nodesFirst, "a1b2c3d2e1");

    std::string descendantsFirst;
    WalkDescendantsFirst(tree.First(), [&](CXmlNode* node) { descendantsFirst += node->GetText(); });
    EXPECT_EQ(descendantsFirst, "cbdae");

    std::string followersFirst;
    WalkFollowersFirst(tree.First(), [&](CXmlNode* node) { followersFirst += node->GetText(); });
    EXPECT_EQ(followersFirst, "cdbea");
}

// The pre-pass and the main pass rely on both: a node inserted by the visit
// is visited, and a false answer ends the walk.
TEST(Walks, NodesFirstSeesInsertedNodesAndStopsWhenTold)
{
    CSmallTree tree;
    std::string seen;
    const bool finished = WalkNodesFirst(tree.First(), [&](CXmlNode* node, size_t) {
        seen += node->GetText();
        if (seen == "a") node->InsertFirstChild(new CXmlNode("x"));
        return seen.back() != 'd';
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(seen, "axbcd");
}

}  // namespace
