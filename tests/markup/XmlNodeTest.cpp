#include <gtest/gtest.h>

#include <string>

#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

namespace {

// A root holding the parsed page; every test checks its links at the end.
struct CParsedPage {
    explicit CParsedPage(const std::string& page)
    {
        Root.Parse(page.data(), static_cast<int>(page.size()));
    }
    ~CParsedPage() { EXPECT_EQ(CheckLinks(&Root), ""); }

    // The first node, in document order, whose raw text is `text`.
    CXmlNode* Find(const std::string& text)
    {
        for (CXmlNode* node = Root.GetFirstChild(); node != nullptr;) {
            if (node->GetText() == text) return node;
            if (node->GetFirstChild() != nullptr) {
                node = node->GetFirstChild();
                continue;
            }
            while (node != nullptr && node->GetNextSibling() == nullptr) node = node->GetParent();
            if (node != nullptr) node = node->GetNextSibling();
        }
        ADD_FAILURE() << "no node " << text;
        return nullptr;
    }

    CXmlNode Root;
};

// A root with the text children "a", "b", "c".
struct CThreeChildren {
    CThreeChildren()
    {
        for (const char* text : {"a", "b", "c"}) Root.AppendChild(new CXmlNode(text));
        A = Root.GetFirstChild();
        B = A->GetNextSibling();
        C = B->GetNextSibling();
    }
    ~CThreeChildren() { EXPECT_EQ(CheckLinks(&Root), ""); }

    CXmlNode Root;
    CXmlNode* A;
    CXmlNode* B;
    CXmlNode* C;
};

TEST(XmlNode, DestroyingAChildRelinksItsNeighbours)
{
    {
        CThreeChildren tree;
        delete tree.A;
        EXPECT_EQ(tree.Root.GetFirstChild(), tree.B);
        EXPECT_EQ(tree.B->GetPreviousSibling(), nullptr);
    }
    {
        CThreeChildren tree;
        delete tree.B;
        EXPECT_EQ(tree.A->GetNextSibling(), tree.C);
        EXPECT_EQ(tree.C->GetPreviousSibling(), tree.A);
    }
    {
        CThreeChildren tree;
        delete tree.C;
        EXPECT_EQ(tree.Root.GetLastChild(), tree.B);
        tree.Root.AppendChild(new CXmlNode("d"));
        EXPECT_EQ(DumpTree(&tree.Root), "a\nb\nd\n");
    }
}

TEST(XmlNode, InsertionsMoveANodeOutOfItsOldPlace)
{
    CThreeChildren tree;
    tree.A->InsertAfter(tree.C);
    EXPECT_EQ(DumpTree(&tree.Root), "a\nc\nb\n");
    tree.B->InsertFirstChild(tree.A);
    EXPECT_EQ(DumpTree(&tree.Root), "c\nb\n  a\n");
    tree.A->InsertBefore(tree.C);
    EXPECT_EQ(DumpTree(&tree.Root), "b\n  c\n  a\n");
    tree.C->AppendSibling(new CXmlNode("d"));
    tree.C->InsertBefore(new CXmlNode("e"));
    tree.B->AppendChild(tree.C);
    EXPECT_EQ(DumpTree(&tree.Root), "b\n  e\n  a\n  d\n  c\n");

    // A node from another document takes this document's root, and so does
    // everything below it.
    CXmlNode other;
    CXmlNode* stranger = new CXmlNode("x");
    other.AppendChild(stranger);
    CXmlNode* grandchild = new CXmlNode("z");
    stranger->AppendChild(new CXmlNode("y"));
    stranger->GetFirstChild()->AppendChild(grandchild);
    EXPECT_EQ(grandchild->GetDocumentRoot(), &other);
    tree.B->InsertAfter(stranger);
    EXPECT_EQ(stranger->GetDocumentRoot(), &tree.Root);
    EXPECT_EQ(grandchild->GetDocumentRoot(), &tree.Root);
    EXPECT_EQ(other.GetFirstChild(), nullptr);
    EXPECT_EQ(DumpTree(&tree.Root), "b\n  e\n  a\n  d\n  c\nx\n  y\n    z\n");
}

// An unlinked node still names its parent, but what is inserted after it
// stays out of the parent's list.
TEST(XmlNode, InsertingAfterAnUnlinkedNodeLeavesItsFormerListAlone)
{
    CThreeChildren tree;
    tree.C->Unlink();
    EXPECT_EQ(tree.C->GetParent(), &tree.Root);
    EXPECT_EQ(tree.Root.GetLastChild(), tree.B);
    CXmlNode* after = new CXmlNode("d");
    tree.C->InsertAfter(after);
    EXPECT_EQ(tree.C->GetNextSibling(), after);
    EXPECT_EQ(after->GetPreviousSibling(), tree.C);
    EXPECT_EQ(after->GetParent(), nullptr);
    EXPECT_EQ(DumpTree(&tree.Root), "a\nb\n");
    tree.B->InsertAfter(tree.C);
    EXPECT_EQ(after->GetPreviousSibling(), nullptr);
    EXPECT_EQ(tree.Root.GetLastChild(), tree.C);
    EXPECT_EQ(DumpTree(&tree.Root), "a\nb\nc\n");
    delete after;
}

// A parent whose last child left still names itself to that child, takes
// new children, and forgets the child when it is destroyed.
TEST(XmlNode, AnUnlinkedChildNamesItsParentUntilTheParentIsGone)
{
    CXmlNode* gone = new CXmlNode("a");
    {
        CXmlNode root;
        CXmlNode* parent = new CXmlNode("<p>");
        root.AppendChild(parent);
        parent->AppendChild(gone);
        gone->Unlink();
        EXPECT_EQ(parent->GetFirstChild(), nullptr);
        EXPECT_EQ(parent->GetLastChild(), nullptr);
        EXPECT_EQ(gone->GetParent(), parent);
        EXPECT_EQ(gone->GetDocumentRoot(), &root);
        parent->AppendChild(new CXmlNode("b"));
        EXPECT_EQ(gone->GetParent(), parent);
        EXPECT_EQ(DumpTree(&root), "<p>\n  b\n");
        EXPECT_EQ(CheckLinks(&root), "");
    }
    EXPECT_EQ(gone->GetParent(), nullptr);
    EXPECT_EQ(gone->GetDocumentRoot(), gone);
    delete gone;
}

// A node without a record is a document root: placed in another tree it
// keeps its own state, and the tokens put under it name it as their root.
TEST(XmlNode, ANodeWithoutARecordStaysARootOfItsOwn)
{
    CXmlNode outer;
    CXmlNode* inner = new CXmlNode;
    CWorkingVariables* state = new CWorkingVariables;
    inner->SetWorkingVariables(state);
    CXmlNode* early = new CXmlNode("<e>");
    inner->AppendChild(early);
    early->AppendChild(new CXmlNode("w"));
    outer.AppendChild(inner);
    EXPECT_EQ(early->GetFirstChild()->GetDocumentRoot(), inner);
    EXPECT_EQ(inner->GetDocumentRoot(), inner);
    EXPECT_EQ(inner->GetWorkingVariables(), state);
    CXmlNode* token = new CXmlNode("x");
    inner->AppendChild(token);
    EXPECT_EQ(token->GetDocumentRoot(), inner);
    EXPECT_EQ(token->GetDocumentState(), state);
    EXPECT_EQ(outer.GetDocumentRoot(), &outer);
}

TEST(XmlNode, MoveChildrenAfterItselfKeepsTheirOrder)
{
    CXmlNode root;
    CXmlNode* n = new CXmlNode("<n>");
    root.AppendChild(n);
    root.AppendChild(new CXmlNode("after"));
    for (const char* text : {"first", "second", "third"}) n->AppendChild(new CXmlNode(text));
    n->MoveChildrenAfter(n);
    EXPECT_EQ(DumpTree(&root), "<n>\nfirst\nsecond\nthird\nafter\n");
    EXPECT_EQ(CheckLinks(&root), "");

    CParsedPage page("<br>x<b>y</b>");
    page.Find("<br>")->MakeEmptyElement();
    EXPECT_EQ(DumpTree(&page.Root), "<br/>\nx\n<b>\n  y\n</b>\n");
}

// The followers move as one run, into an empty list, a list that lost its
// last child, or after existing children; moved nodes then name their new
// parent, and a moved node keeps its own children.
TEST(XmlNodeMoves, AppendFollowersOfMovesTheRestOfTheList)
{
    {
        CThreeChildren tree;
        tree.B->AppendChild(new CXmlNode("b1"));
        tree.A->AppendFollowersOf(tree.A);
        EXPECT_EQ(DumpTree(&tree.Root), "a\n  b\n    b1\n  c\n");
        EXPECT_EQ(tree.C->GetParent(), tree.A);
        EXPECT_EQ(tree.Root.GetLastChild(), tree.A);
    }
    {
        CThreeChildren tree;
        tree.A->AppendChild(new CXmlNode("a1"));
        delete tree.A->GetFirstChild();
        tree.A->AppendChild(new CXmlNode("a2"));
        tree.A->AppendFollowersOf(tree.B);
        EXPECT_EQ(DumpTree(&tree.Root), "a\n  a2\n  c\nb\n");
        EXPECT_EQ(tree.A->GetLastChild(), tree.C);
        EXPECT_EQ(tree.C->GetPreviousSibling()->GetText(), std::string("a2"));
        tree.A->AppendFollowersOf(tree.B);
        EXPECT_EQ(DumpTree(&tree.Root), "a\n  a2\n  c\nb\n");
    }
    {
        // Followers in a list without a parent, from another document.
        CXmlNode* head = new CXmlNode("head");
        head->InsertAfter(new CXmlNode("x"));
        head->GetNextSibling()->InsertAfter(new CXmlNode("y"));
        CXmlNode root;
        CXmlNode* target = new CXmlNode("<t>");
        root.AppendChild(target);
        target->AppendFollowersOf(head);
        EXPECT_EQ(DumpTree(&root), "<t>\n  x\n  y\n");
        EXPECT_EQ(head->GetNextSibling(), nullptr);
        EXPECT_EQ(CheckLinks(&root), "");
        delete head;
    }
}

// The filter's memo of a child list lasts only while no child joins, leaves
// or changes, and never follows the children to another parent.
TEST(XmlNode, TheChildrenFilteredMemoIsForgottenOnAnyChange)
{
    CThreeChildren tree;
    const auto remembered = [&tree] {
        tree.Root.RememberChildrenFilteredWith(7);
        return tree.Root.WereChildrenFilteredWith(7);
    };
    EXPECT_TRUE(remembered());
    EXPECT_FALSE(tree.Root.WereChildrenFilteredWith(8));
    EXPECT_FALSE(tree.Root.WereChildrenFilteredWith(0));
    tree.B->GetObject()->SetName("x");
    EXPECT_FALSE(tree.Root.WereChildrenFilteredWith(7));
    EXPECT_TRUE(remembered());
    // The same name again changes nothing.
    tree.B->GetObject()->SetName("x");
    EXPECT_TRUE(tree.Root.WereChildrenFilteredWith(7));
    tree.C->Unlink();
    EXPECT_FALSE(tree.Root.WereChildrenFilteredWith(7));
    EXPECT_TRUE(remembered());
    tree.A->InsertAfter(tree.C);
    EXPECT_FALSE(tree.Root.WereChildrenFilteredWith(7));

    CXmlNode* n = new CXmlNode("<n>");
    tree.Root.AppendChild(n);
    n->AppendChild(new CXmlNode("y"));
    n->RememberChildrenFilteredWith(7);
    EXPECT_TRUE(remembered());
    n->MoveChildrenAfter(n);
    EXPECT_FALSE(n->WereChildrenFilteredWith(7));
    EXPECT_FALSE(tree.Root.WereChildrenFilteredWith(7));
}

TEST(XmlNode, CompletenessAndEndTagMatching)
{
    CParsedPage page("<p>x</p><div>y</b><B>z</b><br><br/><i>");
    CXmlNode* p = page.Find("<p>");
    EXPECT_TRUE(p->IsComplete());
    EXPECT_TRUE(page.Find("</p>")->MatchesStartTag(p));
    EXPECT_FALSE(page.Find("</p>")->IsStrayEndTag());
    EXPECT_TRUE(page.Find("x")->IsComplete());
    EXPECT_TRUE(page.Root.IsComplete());

    EXPECT_FALSE(page.Find("<div>")->IsComplete());
    EXPECT_TRUE(page.Find("</b>")->IsStrayEndTag());
    EXPECT_TRUE(page.Find("<B>")->IsComplete());
    EXPECT_TRUE(page.Find("<br>")->IsComplete());
    EXPECT_TRUE(page.Find("<br/>")->MatchesStartTag(page.Find("<br>")));
    EXPECT_FALSE(page.Find("<i>")->IsComplete());
    EXPECT_FALSE(page.Find("</p>")->MatchesStartTag(nullptr));
    // An end tag does not match a start tag that something else closed.
    EXPECT_FALSE(page.Find("</b>")->MatchesStartTag(page.Find("<B>")));
}

// Names are tested before the pre-pass lower-cases them too (the tree
// builder's title, the form and table helpers), so case must not matter.
TEST(XmlNode, IsNamedIgnoresTheCaseOfTheElementName)
{
    CParsedPage page("<TiTle>t</TiTle><td><tdx><!-- td -->td");
    EXPECT_TRUE(page.Find("<TiTle>")->IsNamed("title"));
    EXPECT_TRUE(page.Find("</TiTle>")->IsNamed("title"));
    EXPECT_TRUE(page.Find("<td>")->IsNamed("td"));
    EXPECT_FALSE(page.Find("<td>")->IsNamed("tdx"));
    EXPECT_FALSE(page.Find("<tdx>")->IsNamed("td"));
    EXPECT_FALSE(page.Find("<!-- td -->")->IsNamed("td"));
    EXPECT_FALSE(page.Find("td")->IsNamed("td"));
    EXPECT_FALSE(page.Root.IsNamed("td"));
}

// The count that tells a pass whether every node it saw still stands where
// it was: nodes that join and records that change leave it alone.
TEST(XmlNode, StructureChangesCountNodesLeavingTheirPlace)
{
    CParsedPage page("<p><b>x</b><i>y</i></p><br>");
    const uint64_t start = page.Root.GetStructureChanges();
    CXmlNode* p = page.Find("<p>");
    p->AppendChild(new CXmlNode("z"));
    page.Find("<b>")->InsertAfter(new CXmlNode("<hr>"));
    page.Find("x")->GetObject()->ReplaceText("w");
    EXPECT_EQ(page.Find("w")->GetStructureChanges(), start);

    page.Find("<br>")->InsertBefore(page.Find("z"));
    EXPECT_EQ(page.Root.GetStructureChanges(), start + 1);
    delete page.Find("<hr>");
    EXPECT_EQ(page.Root.GetStructureChanges(), start + 2);
    page.Find("<i>")->MoveChildrenAfter(page.Find("<i>"));
    EXPECT_EQ(page.Root.GetStructureChanges(), start + 3);
    p->AppendFollowersOf(page.Find("</p>"));
    EXPECT_EQ(page.Root.GetStructureChanges(), start + 4);

    CXmlNode alone("<b>");
    EXPECT_EQ(alone.GetStructureChanges(), 0u);
}

TEST(XmlNode, NextAndPreviousNodeClimbOneLevelOnly)
{
    CParsedPage page("<div><p>c</div>d<p><b>x</b>y</p>");
    EXPECT_EQ(page.Find("c")->GetNextNode(), nullptr);
    EXPECT_EQ(page.Find("<p>")->GetNextNode(), page.Find("c"));
    EXPECT_EQ(page.Find("x")->GetNextNode(), page.Find("</b>"));
    EXPECT_EQ(page.Find("y")->GetNextNode(), page.Find("</p>"));
    EXPECT_EQ(page.Find("</p>")->GetNextNode(), nullptr);

    EXPECT_EQ(page.Find("</b>")->GetPreviousNode(), page.Find("x"));
    EXPECT_EQ(page.Find("<b>")->GetPreviousNode(), page.Find("d")->GetNextSibling());
    EXPECT_EQ(page.Find("</p>")->GetPreviousNode(), page.Find("y"));
    // The last child of the previous sibling, not that child's own children.
    EXPECT_EQ(page.Find("</div>")->GetPreviousNode(), page.Find("<p>"));
    EXPECT_EQ(page.Root.GetPreviousNode(), nullptr);
    EXPECT_EQ(page.Root.GetNextNode(), page.Find("<div>"));
    CXmlNode empty;
    EXPECT_EQ(empty.GetNextNode(), nullptr);
}

TEST(XmlNode, HasTextBeforeLooksAtEarlierSiblingsAndAncestors)
{
    const auto textBefore = [](const std::string& html) {
        CParsedPage page(html + "<i>");
        return page.Find("<i>")->HasTextBefore();
    };
    EXPECT_TRUE(textBefore("t"));
    EXPECT_TRUE(textBefore("t <b><u>"));
    EXPECT_TRUE(textBefore("<table>x"));
    EXPECT_FALSE(textBefore("t<p>x</p>"));
    EXPECT_FALSE(textBefore("t<br/>"));
    EXPECT_FALSE(textBefore("t<table>"));
    EXPECT_FALSE(textBefore("<b>t</b>"));
    EXPECT_FALSE(textBefore("<!-- t -->"));
    EXPECT_FALSE(textBefore(" \r\n"));
    EXPECT_FALSE(textBefore(""));
}

TEST(XmlNode, BlankContentAndNonBlankChildren)
{
    const auto onlyBlank = [](const std::string& html) {
        CParsedPage page(html);
        return page.Root.GetFirstChild()->HasOnlyBlankContent();
    };
    EXPECT_TRUE(onlyBlank("<p></p>"));
    EXPECT_TRUE(onlyBlank("<p> \t </p>"));
    EXPECT_FALSE(onlyBlank("<p>x</p>"));
    EXPECT_FALSE(onlyBlank("<p>\xA0</p>"));
    EXPECT_FALSE(onlyBlank("<p><br/></p>"));
    EXPECT_FALSE(onlyBlank("<p><!-- --></p>"));
    EXPECT_FALSE(onlyBlank("</p>"));
    EXPECT_FALSE(onlyBlank("<br/>"));
    EXPECT_FALSE(onlyBlank("text"));

    CParsedPage page("<p> <b>x</b> </p>");
    CXmlNode* p = page.Find("<p>");
    EXPECT_EQ(p->GetFirstNonBlankChild(), page.Find("<b>"));
    EXPECT_EQ(p->GetLastNonBlankChild(), page.Find("</b>"));
    EXPECT_EQ(page.Find("x")->GetFirstNonBlankChild(), nullptr);
}

// A million nested nodes and a million siblings are built and destroyed on a
// 256 KiB stack: destruction must not nest, and appending must stay cheap.
TEST(XmlNode, DeepAndWideTreesAreDestroyedWithoutRecursion)
{
    const int count = 1000000;
    RunOnSmallStack([count] {
        CXmlNode* deep = new CXmlNode;
        CXmlNode* innermost = deep;
        for (int i = 0; i < count; ++i) {
            CXmlNode* child = new CXmlNode;
            innermost->AppendChild(child);
            innermost = child;
        }
        CXmlNode* wide = new CXmlNode;
        innermost->AppendChild(wide);
        for (int i = 0; i < count; ++i) wide->AppendChild(new CXmlNode);
        EXPECT_EQ(CheckLinks(deep), "");
        delete deep;
    });
}

}  // namespace
