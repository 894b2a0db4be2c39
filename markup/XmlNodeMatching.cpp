#include "markup/ElementNames.h"
#include "markup/Xmlnode.h"

namespace {

// Names equal but for ASCII case. Coded names differ from every other name
// in their code, so only two uncoded names need comparing.
bool SameName(const CXmlNode* a, const CXmlNode* b)
{
    const uint8_t codeA = a->GetObject()->GetNameCode();
    const uint8_t codeB = b->GetObject()->GetNameCode();
    if (codeA != 0 || codeB != 0) return codeA == codeB;
    return EqualNoCase(a->GetName(), b->GetName());
}

// One step of a walk back over earlier siblings and ancestors.
const CXmlNode* PreviousSiblingOrParent(const CXmlNode* node)
{
    const CXmlNode* previous = node->GetPreviousSibling();
    return previous != nullptr ? previous : node->GetParent();
}

}  // namespace

bool CXmlNode::IsClosedBy(const CXmlNode* other) const
{
    return other != nullptr && other->IsEmptyOrEndTag() && IsStartTag() && SameName(this, other);
}

bool CXmlNode::IsComplete() const
{
    if (!IsOpenStartTag()) return true;
    return NextSibling != nullptr && IsClosedBy(NextSibling);
}

// An empty-element tag of the same name counts as closing an open start tag.
bool CXmlNode::MatchesStartTag(const CXmlNode* start) const
{
    return start != nullptr && start->IsStartTag() && IsEmptyOrEndTag() &&
           (!start->IsComplete() || start->NextSibling == this) &&
           SameName(this, start);
}

bool CXmlNode::IsStrayEndTag() const
{
    return IsEmptyOrEndTag() && !IsStartTag() && !MatchesStartTag(GetPreviousSibling());
}

// Looks back over earlier siblings and ancestors (never into earlier
// siblings' children) until a "table", "p" or "br" tag or the root.
bool CXmlNode::HasTextBefore() const
{
    static const CElementSet stopNames("table\0p\0br\0");
    const CXmlNode* root = GetDocumentRoot();
    const CXmlNode* p = PreviousSiblingOrParent(this);
    while (p != nullptr && p != root && p->HasRecord()) {
        if (p->IsTag()) {
            if (stopNames.Contains(p->GetObject())) return false;
        } else if (!p->IsComment() && !IsBlank(p->GetText())) {
            return true;
        }
        p = PreviousSiblingOrParent(p);
    }
    return false;
}

bool CXmlNode::HasOnlyBlankContent() const
{
    if (!IsOpenStartTag()) return false;
    for (const CXmlNode* child = GetFirstChild(); child != nullptr; child = child->NextSibling)
        if (child->IsTag() || !IsBlank(child->GetText())) return false;
    return true;
}
