#include "markup/Xmlnode.h"

#include <cstring>

#include "markup/ElementNames.h"

const char LineBreakElements[] = "wml\0card\0table\0tr\0select\0p\0input\0postfield\0go\0do\0";

namespace {

// A tag whose name was emptied writes only its children; declarations and
// processing instructions are written whatever their name.
bool WritesOwnText(const CXmlNode* node)
{
    const CXmlObject* record = node->GetObject();
    if (record == nullptr) return false;
    const char* name = record->GetName();
    if (name == nullptr || name[0] != '\0') return true;
    const char* text = record->GetText();
    return text != nullptr && text[0] == '<' && (text[1] == '!' || text[1] == '?');
}

// The names the writer is given are nearly always the converter's own list.
bool IsLineBreakName(const CXmlNode* node, const char* lineBreakNames)
{
    static const CElementSet lineBreakElements(LineBreakElements);
    if (lineBreakNames == LineBreakElements) return lineBreakElements.Contains(node->GetObject());
    return IsNameInList(node->GetName(), lineBreakNames);
}

bool IsLineBroken(const CXmlNode* node, const char* lineBreakNames)
{
    if (!node->IsTag()) return false;
    const char* text = node->GetText();
    return IsLineBreakName(node, lineBreakNames) || text[1] == '!' || text[1] == '?';
}

// Document order within the subtree of `top`, following the links only: the
// writer changes nothing, so no stack is needed. The walk keeps each node's
// depth below the document root, which tells the writer where a tag's line
// break goes without looking up its parents.
class CSubtreeWalk {
public:
    explicit CSubtreeWalk(const CXmlNode* top) : Top(top), Node(top)
    {
        for (const CXmlNode* p = top->GetParent(); p != nullptr; p = p->GetParent()) ++Depth;
    }
    const CXmlNode* Current() const { return Node; }
    // True below the root's children: there a line-broken tag starts a line.
    bool BelowRootChildren() const { return Depth >= 2; }
    void Next()
    {
        if (const CXmlNode* first = Node->GetFirstChild()) {
            Node = first;
            ++Depth;
            return;
        }
        for (; Node != Top; Node = Node->GetParent(), --Depth) {
            if (const CXmlNode* next = Node->GetNextSibling()) {
                Node = next;
                return;
            }
        }
        Node = nullptr;
    }

private:
    const CXmlNode* Top;
    const CXmlNode* Node;
    size_t Depth = 0;
};

}  // namespace

char* CXmlNode::Write(char* buffer, const char* lineBreakNames) const
{
    char* out = buffer;
    *out = '\0';
    for (CSubtreeWalk walk(this); walk.Current() != nullptr; walk.Next()) {
        const CXmlNode* node = walk.Current();
        if (!WritesOwnText(node)) continue;
        if (!IsLineBroken(node, lineBreakNames)) {
            out = node->Record.Write(out);
            continue;
        }
        if (walk.BelowRootChildren() && out != buffer && out[-1] != '\n') {
            *out++ = '\r';
            *out++ = '\n';
        }
        out = node->Record.Write(out);
        *out++ = '\r';
        *out++ = '\n';
        *out = '\0';
    }
    return buffer;
}

long long CXmlNode::GetWriteLength(const char*) const
{
    long long length = 0;
    for (CSubtreeWalk walk(this); walk.Current() != nullptr; walk.Next()) {
        const CXmlNode* node = walk.Current();
        if (!WritesOwnText(node)) continue;
        length += node->Record.GetWriteLength();
        if (node->IsTag()) length += walk.BelowRootChildren() ? 4 : 2;
    }
    return length;
}
