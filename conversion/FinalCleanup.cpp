#include <string>
#include <unordered_map>

#include "conversion/Conversion.h"
#include "conversion/Repertoire.h"
#include "devices/Xmldevice.h"
#include "markup/ElementNames.h"
#include "markup/Walks.h"

namespace {

const char BlockNames[] = "wml\0p\0br\0table\0tr\0td\0";

char LastByte(const CXmlNode* node)
{
    const char* text = node->GetText();
    if (text == nullptr || text[0] == '\0') return '\0';
    return text[node->GetObject()->GetTextLength() - 1];
}

char FirstByte(const CXmlNode* node)
{
    const char* text = node->GetText();
    return text != nullptr ? text[0] : '\0';
}

bool IsBlockTag(const CXmlNode* node)
{
    static const CElementSet blockNames(BlockNames);
    return node->IsTag() && blockNames.Contains(node->GetObject());
}

// What a node met on the way back from a leading blank says about it.
enum class LeadingStep { PassOver, Removable, Kept };

LeadingStep JudgeBeforeBlank(const CXmlNode* p)
{
    const char c = LastByte(p);
    if (c == ' ') return LeadingStep::Removable;
    if (c == '>') return IsBlockTag(p) ? LeadingStep::Removable : LeadingStep::PassOver;
    return c == '\0' ? LeadingStep::PassOver : LeadingStep::Kept;
}

// Leading-blank walks of one clean-up. A walk that passes many nodes
// remembers, for each of them, the node where it stopped, so that a long run
// of inline tags and emptied texts is crossed once rather than once for
// every text after it. Short walks remember nothing: walking them again
// costs less than the memo's memory, which on a small page would outweigh
// its tree. A node passed over stays passable (texts only shrink, tags do not
// change); a stop node that has since become passable is walked on from. A
// deletion changes the links, so it makes the walks forget everything.
class CLeadingBlankWalks {
public:
    bool Removable(const CXmlNode* node)
    {
        const CXmlNode* root = node->GetDocumentRoot();
        LeadingStep step = LeadingStep::PassOver;
        const CXmlNode* p = node->GetPreviousNode();
        size_t passed = 0;
        while (p != nullptr && p != root) {
            const CXmlNode* known = KnownStop(p);
            if (known != p) {
                ++passed;
                p = known;
                continue;
            }
            step = JudgeBeforeBlank(p);
            if (step != LeadingStep::PassOver) break;
            ++passed;
            p = p->GetPreviousNode();
        }
        if (passed > ShortWalk) RememberStop(node, p);
        return p == nullptr || p == root || step == LeadingStep::Removable;
    }
    void Forget()
    {
        if (!Stops.empty()) Stops.clear();
    }

private:
    // Walks of up to this many nodes are not remembered.
    static constexpr size_t ShortWalk = 32;

    // Where a walk that reaches `p` goes on: the remembered stop, or `p` itself.
    const CXmlNode* KnownStop(const CXmlNode* p) const
    {
        auto known = Stops.find(p);
        return known != Stops.end() ? known->second : p;
    }
    // Takes the walk from `node` once more, the same way, and points every
    // node it passes at `stop`.
    void RememberStop(const CXmlNode* node, const CXmlNode* stop)
    {
        for (const CXmlNode* p = node->GetPreviousNode(); p != stop;) {
            const CXmlNode* known = KnownStop(p);
            const CXmlNode* next = known != p ? known : p->GetPreviousNode();
            Stops[p] = stop;
            p = next;
        }
    }

    std::unordered_map<const CXmlNode*, const CXmlNode*> Stops;
};

// The tests go from what the node itself holds to what it links to, so the
// many nodes without edge blanks are passed without reading their parents.
void TrimEdgeBlanks(CXmlNode* node, CLeadingBlankWalks& walks)
{
    // A tag or comment starts with '<' and ends with '>'.
    if (node->IsTag() || node->IsComment()) return;
    CXmlObject* record = node->GetObject();
    if (record == nullptr || record->GetText() == nullptr) return;
    const char* text = record->GetText();
    const size_t length = static_cast<size_t>(record->GetTextLength());
    if (length == 0 || (text[0] != ' ' && text[length - 1] != ' ')) return;
    if (node->GetParent() == nullptr) return;
    size_t begin = 0;
    size_t end = length;
    if (text[0] == ' ' && walks.Removable(node)) ++begin;
    if (end > begin && text[end - 1] == ' ' && TrailingBlankRemovable(node)) --end;
    record->TrimText(begin, end);
}

// "<br></br>" leaves "</br>" behind the empty "<br/>": it closes nothing and
// would make the deck malformed.
bool FollowsEmptyElement(const CXmlNode* node)
{
    const CXmlNode* previous = node->GetPreviousSibling();
    return node->IsEmptyOrEndTag() && !node->IsStartTag() && node->GetFirstChild() == nullptr &&
           previous != nullptr && previous->IsStartTag() && previous->IsEmptyOrEndTag();
}

bool IsPrunable(const CXmlNode* node)
{
    return node->IsStrayEndTag() || FollowsEmptyElement(node) ||
           (node->IsComment() && GetDocumentSettings(node)->DropComments != 0);
}

bool IsEmptyElementToPrune(const CXmlNode* node)
{
    return node->IsOpenStartTag() && (node->IsTextStyleTag() || node->IsNamed("head")) &&
           node->HasOnlyBlankContent();
}

void PruneCleanedNode(CXmlNode* node, CLeadingBlankWalks& walks)
{
    if (IsPrunable(node)) {
        walks.Forget();
        delete node;
    } else if (IsEmptyElementToPrune(node)) {
        walks.Forget();
        delete node->GetNextSibling();
        delete node;
    }
}

}  // namespace

void FinalCleanup(CXmlNode* node)
{
    CLeadingBlankWalks walks;
    CRepertoireReduction repertoire(node);
    SweepChildrenFirst(
        node,
        [&](CXmlNode* n) {
            EscapeForDeck(n);
            // Escaped first, so that the references the page wrote are read too.
            if (repertoire.Active()) repertoire.Reduce(n);
            TrimEdgeBlanks(n, walks);
        },
        [&](CXmlNode* n) { PruneCleanedNode(n, walks); });
}

bool TrailingBlankRemovable(const CXmlNode* node)
{
    for (const CXmlNode* p = node->GetNextNode(); p != nullptr;) {
        const char c = FirstByte(p);
        if (c == ' ') return true;
        if (c == '<' && IsBlockTag(p)) return true;
        if (c != '\0' && c != '<') return false;
        p = p->GetNextNode();
    }
    return true;
}
