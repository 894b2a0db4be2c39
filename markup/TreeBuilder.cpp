#include "markup/Xmlnode.h"

#include "markup/ElementNames.h"
#include "markup/NodeInternals.h"
#include "markup/TokenRules.h"

namespace {

// Tags that survive an excluded stretch, so the page keeps its skeleton.
const char SkeletonNames[] = "html\0body\0wml\0card\0head\0title\0";

bool IsTitleStart(const CXmlNode* node)
{
    return node != nullptr && node->IsStartTag() && node->IsNamed("title");
}

// Decides whether a token outside the regions meant for the device is kept.
bool SurvivesExclusion(const CXmlNode* node, const CXmlNode* current)
{
    static const CElementSet skeletonNames(SkeletonNames);
    if (node->IsTag()) return skeletonNames.Contains(node->GetObject());
    return IsTitleStart(current);
}

std::string LowerCaseName(const CXmlNode* node)
{
    std::string name = node->GetName() != nullptr ? node->GetName() : "";
    return LowerCaseAscii(name);
}

// Keeps count, by name, of the open start tags among the node placed last
// and its ancestors: the only start tags that an end tag can close.
class COpenTags {
public:
    explicit COpenTags(COpenTagCounts& counts)
        : Codes(counts.Codes), Deep(counts.Deep), Names(counts.Names)
    {
    }

    void Enter(const CXmlNode* node)
    {
        if (!node->IsOpenStartTag()) return;
        if (const uint8_t code = CodeOf(node)) {
            if (Codes[code] < UINT8_MAX)
                ++Codes[code];
            else
                ++Deep[code];
        } else {
            ++Names[LowerCaseName(node)];
        }
    }

    void Leave(const CXmlNode* node)
    {
        if (!node->IsOpenStartTag()) return;
        if (const uint8_t code = CodeOf(node)) {
            if (Codes[code] == UINT8_MAX && LeaveDeep(code)) return;
            if (Codes[code] > 0) --Codes[code];
            return;
        }
        auto found = Names.find(LowerCaseName(node));
        if (found != Names.end() && --found->second == 0) Names.erase(found);
    }

    bool MayClose(const CXmlNode* endTag) const
    {
        if (const uint8_t code = CodeOf(endTag)) return IsOpen(code);
        return Names.find(LowerCaseName(endTag)) != Names.end();
    }

    bool IsOpen(uint8_t code) const { return Codes[code] > 0; }

private:
    static uint8_t CodeOf(const CXmlNode* node) { return node->GetObject()->GetNameCode(); }

    bool LeaveDeep(uint8_t code)
    {
        auto found = Deep.find(code);
        if (found == Deep.end()) return false;
        if (--found->second == 0) Deep.erase(found);
        return true;
    }

    std::array<uint8_t, ElementCodeBound>& Codes;
    std::unordered_map<uint8_t, int>& Deep;
    std::unordered_map<std::string, int>& Names;
};

void CountOpenTags(const CXmlNode* current, COpenTagCounts& counts)
{
    COpenTags open(counts);
    for (const CXmlNode* p = current; p != nullptr; p = p->GetParent()) open.Enter(p);
}

// The root's counts; outside a parse they are worked out from the current
// node and its ancestors when the first token comes.
COpenTags OpenTagsOf(CRootState& root)
{
    if (root.OpenTags == nullptr) {
        auto counts = std::make_unique<COpenTagCounts>();
        CountOpenTags(root.CurrentNode, *counts);
        root.OpenTagsOutsideParse = std::move(counts);
        root.OpenTags = root.OpenTagsOutsideParse.get();
    }
    return COpenTags(*root.OpenTags);
}

// Counts the texts being parsed into a root (tag replacement parses inside
// the page's parse). The outermost one holds the open-tag counts for all of
// them and drops them when it ends.
class CParseScope {
public:
    // Running out of memory while counting leaves the root as it was.
    explicit CParseScope(CRootState& root) : Root(root)
    {
        if (Root.ParseDepth == 0) {
            CountOpenTags(Root.CurrentNode, Counts);
            Root.OpenTagsOutsideParse.reset();
            Root.OpenTags = &Counts;
        }
        ++Root.ParseDepth;
    }
    ~CParseScope()
    {
        if (--Root.ParseDepth == 0) Root.OpenTags = nullptr;
    }
    CParseScope(const CParseScope&) = delete;
    CParseScope& operator=(const CParseScope&) = delete;

private:
    CRootState& Root;
    COpenTagCounts Counts;
};

}  // namespace

void CXmlParser::OnToken(CXmlNode* root, CXmlObject* token)
{
    root->AddTokenFrom(*token);
}

void CXmlParser::OnTokenText(CXmlNode* root, const char* text, int length)
{
    root->AddTokenText(text, length);
}

// A token node takes no tokens, so it is not parsed into.
void CXmlNode::Parse(const char* text, int length)
{
    if (HasRecord()) return;
    CParseScope scope(RootState());
    CXmlParser parser;
    parser.Tokenize(this, text, length);
}

// The root's own state is made before the working state, so that running out
// of memory leaves nothing unowned.
CWorkingVariables& CXmlNode::EnsureWorkingState()
{
    CRootState& root = RootState();
    if (root.WorkingVariables == nullptr) root.WorkingVariables = new CWorkingVariables;
    return *root.WorkingVariables;
}

void CXmlNode::AddToken(CXmlObject* record)
{
    PlaceToken(new CXmlNode(record));
}

void CXmlNode::AddTokenFrom(CXmlObject& token)
{
    std::unique_ptr<CXmlNode> node(new CXmlNode);
    node->TakeRecord(token);
    PlaceToken(node.release());
}

// A comment is read by the marker words of the conversion's configuration.
void CXmlNode::AddTokenText(const char* text, int length)
{
    if (HasRecord()) return;
    const CWorkingVariables* state = PrepareDocumentState(this);
    const CNulFreeText token = {text, length > 0 ? static_cast<size_t>(length) : 0};
    PlaceToken(new CXmlNode(token, MarkerWordsOf(*state)));
}

// The node is owned here until it is linked, so that running out of memory
// on the way leaves no node outside the tree.
void CXmlNode::PlaceToken(CXmlNode* node)
{
    std::unique_ptr<CXmlNode> owned(node);
    // Only a document root takes tokens: a token node has no room for the
    // tree builder's state.
    if (HasRecord()) {
        return;
    }
    CWorkingVariables* state = PrepareDocumentState(this);
    const CTokenFate fate = RegionFateOf(*state, node->GetObject());
    if (fate == CTokenFate::Marker) return;
    if (fate == CTokenFate::Included) {
        if (node->IsTag() && ReplacesTags(*state)) {
            // Tag replacement parses into the token's document.
            HoldUnplaced(node);
            ReplaceTagOf(node, *state, GetCurrentNode());
        } else if (HoldsPreformattedLines(node)) {
            PlacePreformattedText(owned.release());
            return;
        }
    } else if (!SurvivesExclusion(node, GetCurrentNode())) {
        return;
    }
    if (node->IsTag()) {
        const char* name = node->GetName();
        if (name == nullptr || name[0] == '\0') {
            return;
        }
    } else if (!node->IsComment()) {
        CXmlObject* record = node->GetObject();
        record->CollapseText();
        if (record->GetTextLength() == 0) {
            return;
        }
    }
    LinkToken(std::move(owned));
    RootState().CurrentNode = node;
}

bool CXmlNode::IsInOpenElement(uint8_t code)
{
    return OpenTagsOf(RootState()).IsOpen(code);
}

// Places a new node relative to the node placed last, without look-ahead.
void CXmlNode::LinkToken(std::unique_ptr<CXmlNode> owned)
{
    CXmlNode* node = owned.get();
    CXmlNode* current = GetCurrentNode();
    COpenTags open = OpenTagsOf(RootState());
    if (current == nullptr) {
        AppendChild(node);
    } else if (node->IsEmptyOrEndTag() && !node->IsStartTag()) {
        // The start tag an end tag closes is the nearest open one of its
        // name on the way up; the walk leaves every node it passes.
        CXmlNode* closed = nullptr;
        if (open.MayClose(node))
            for (CXmlNode* p = current; p != nullptr && closed == nullptr; p = p->GetParent())
                if (!p->IsComplete() && p->IsClosedBy(node)) closed = p;
        if (closed != nullptr) {
            for (CXmlNode* p = current; p != closed; p = p->GetParent()) open.Leave(p);
            open.Leave(closed);
            closed->AppendSibling(node);
        } else if (current->IsComplete()) {
            current->InsertAfter(node);
        } else {
            current->AppendChild(node);
        }
    } else if (!current->IsTag() || (current->IsStartTag() && current->IsEmptyOrEndTag()) ||
               current->IsStrayEndTag()) {
        current->AppendSibling(node);
    } else if (current->IsStartTag()) {
        if (node->MatchesStartTag(current)) {
            open.Leave(current);
            current->AppendSibling(node);
        } else {
            current->AppendChild(node);
        }
    } else {
        CXmlNode* start = current->GetParent();
        if (start != nullptr && node->MatchesStartTag(start)) {
            open.Leave(start);
            start->AppendSibling(node);
        } else {
            current->AppendSibling(node);
        }
    }
    owned.release();
    open.Enter(node);
}
