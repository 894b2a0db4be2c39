// The markup document model: tag records, the document tree, the tokenizer,
// the tree builder, the markup writer and the per-call working state.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Text.h"

class CConfiguration;
class CDevice;
class CPrePocessControl;
class CWorkingVariables;
class CXmlNode;
struct CParentCell;
struct CRootState;


// The words that open and close device-conditional regions in comments
// ("<!-- DINCL DEVICE=... -->" ... "<!-- /DINCL -->"); the configuration may
// name others. A default-made set holds the built-in words.
struct CMarkerWords {
    char IncludeStart[64] = "DINCL";
    char IncludeStop[64] = "/DINCL";
    char ExcludeStart[64] = "DEXCL";
    char ExcludeStop[64] = "/DEXCL";
};
extern const CMarkerWords BuiltInMarkerWords;

// One token of markup exactly as it was read (start, end or empty tag,
// declaration, processing instruction, comment or text run) and, for tags and
// region-marker comments, the element name and attributes parsed from it.
// Name and attributes describe the raw text as of the last SetText; the
// editing operations change one side only (see each operation).
class CXmlObject {
public:
    CXmlObject() = default;
    CXmlObject(const CXmlObject&) = delete;
    CXmlObject& operator=(const CXmlObject&) = delete;
    ~CXmlObject() { ReleaseBlock(); }
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);

    // Replaces everything: stores the first `length` bytes of `text` (up to a
    // NUL among them) as the raw text, then parses name and attributes when
    // the record is a tag or a region marker by the given marker words.
    void SetText(const char* text, int length, const CMarkerWords& words = BuiltInMarkerWords);
    // The same for `length` bytes known to hold no NUL, which are not searched.
    void SetTextWithoutNul(const char* text, size_t length, const CMarkerWords& words);
    // The raw text; null for a record that never had text.
    const char* GetText() const;
    // Held at INT_MAX for a longer text.
    int GetTextLength() const;
    // Replaces the raw text without parsing it again (used by passes that
    // trim or escape a text run in place).
    void ReplaceText(const std::string& text);

    // CollapseWhitespace on the raw text, in place; name and attributes stay.
    void CollapseText();
    // Keeps bytes `begin` to `end` of the raw text, in place; name and
    // attributes stay.
    void TrimText(size_t begin, size_t end);

    // Makes the record the empty-element tag <name a="v" .../> from its parts
    // without parsing: raw text, name and attributes are what a parse of
    // that text gives, but that every value stays exactly as given.
    void SetEmptyElement(
        std::string_view name,
        std::initializer_list<std::pair<std::string_view, std::string_view>> attributes);
    // Makes the record a copy of another's raw text, name and attributes,
    // edits included, without parsing.
    void CopyFrom(const CXmlObject& other);
    // A new record made from this record's raw text; edits are not carried over.
    CXmlObject* Clone() const;
    // A new record "</name>" made from this record's name.
    CXmlObject* CreateEndTag() const;
    // Turns the closing '>' of the raw text into "/>"; name and attributes stay.
    void MakeEmptyElement();

    const char* GetName() const;
    // The code of the name (see ElementNameCode); 0 without a name.
    uint8_t GetNameCode() const { return NameCode; }
    // True when the name has no upper-case letter.
    bool IsNameLowerCase() const { return HasFlag(NameLowerCaseFlag); }
    // Replaces the name by a copy of `name`; a leading '/' is not copied.
    void SetName(const char* name);
    // Lower-cases the element name and every attribute name in place.
    void LowerCaseNames();

    int GetAttributeCount() const;
    const char* GetAttributeName(int i) const;
    const char* GetAttributeValue(int i) const;
    // The length of attribute i's value; 0 for an attribute it does not have.
    size_t GetAttributeValueLength(int i) const;
    // Value of the first attribute of that name (any case), or null.
    const char* GetAttribute(const char* name) const;
    // Rebuilds the first attribute of that name in place, or appends one.
    // A null value does nothing.
    void SetAttribute(const char* name, const char* value);
    // Replaces the value of attribute `i`, whatever other attributes share
    // its name. A null value or a missing attribute does nothing.
    void SetAttributeValue(int i, const char* value);
    // Removes every attribute whose name is not in the name list.
    void KeepAttributes(const char* allowedList);
    // Lower-cases a present value and replaces it by `fallback` unless it is
    // one of the allowed (lower-case) values; adds a missing attribute with
    // `fallback` only when addIfMissing is non-zero.
    void RestrictAttribute(const char* name, const char* allowedList, const char* fallback,
                           int addIfMissing);
    void NormalizeBoolean(const char* name, const char* fallback);
    void ClearAttributes();

    bool IsComment() const { return (Bits & KindComment) != 0; }
    bool IsTag() const { return (Bits & KindTag) != 0; }
    bool IsStartTag() const { return (Bits & KindStartTag) != 0; }
    bool IsEmptyOrEndTag() const { return (Bits & KindEmptyOrEndTag) != 0; }
    // 1 for a start marker, 2 for an end marker, 0 for anything else.
    int GetMarkerKind(const CMarkerWords& words) const;
    bool IsEndMarker(const CMarkerWords& words) const;
    bool IsTextStyleTag() const;
    bool IsVoidTag() const;

    // Bytes that Write produces, without the NUL.
    int GetWriteLength() const;
    // Writes the normalised text and a NUL; returns the position of the NUL.
    char* Write(char* buffer) const;

    // Moves text, name and attributes of `other` into this record; `other`
    // is left empty. Saves parsing a token a second time.
    void TakeFrom(CXmlObject& other);

private:
    // The kind of the raw text (low four bits) and the record's flags share a byte.
    enum : uint8_t {
        KindComment = 1,
        KindTag = 2,
        KindStartTag = 4,
        KindEmptyOrEndTag = 8,
        KindBits = 15,
        HasTextFlag = 16,
        HasNameFlag = 32,
        NameLowerCaseFlag = 64,
        // Set when the record lives inside a node, which is told of its changes.
        InNodeFlag = 128,
    };
    bool HasFlag(uint8_t flag) const { return (Bits & flag) != 0; }
    void SetFlag(uint8_t flag, bool on)
    {
        Bits = static_cast<uint8_t>(on ? Bits | flag : Bits & ~flag);
    }
    void SetKind(uint8_t kind) { Bits = static_cast<uint8_t>((Bits & ~KindBits) | kind); }
    // The kind predicates depend on the raw text only, so they are worked out
    // whenever the raw text changes.
    static uint8_t KindOf(const char* text, size_t length);
    static int MarkerKindOf(const char* text, size_t length, const CMarkerWords& words);
    void NoteChange();
    friend class CXmlNode;
    int FindAttribute(const char* name) const;

    // How text, name and attributes lie in Storage or in a heap block is
    // private to the markup sources: markup/RecordLayout.h describes it and
    // defines the helpers declared here.
    struct CPiece;
    struct CAttributePieces;
    void Assemble(CPiece text, CPiece name, const CAttributePieces* attributes, size_t count);
    void ReleaseBlock();
    void ShortenPiece(size_t piece, size_t length);
    // Adds `extra` bytes to the end of a piece when the block has room for
    // them; their contents are left to the caller. False when it has not.
    bool LengthenPiece(size_t piece, size_t extra);
    void ResizeBlockPiece(size_t piece, size_t length);
    void AssembleWithAttributes(const std::vector<CAttributePieces>& attributes);
    void AssembleKeepingAttributes(CPiece text, CPiece name);
    CPiece PieceOrNothing(size_t piece) const;
    // The attributes' pieces, in a list of the thread's that every call
    // reuses, so editing a tag allocates no list: it holds until the next call.
    std::vector<CAttributePieces>& AttributePieces() const;
    // That list, emptied; parsing a tag fills it too.
    static std::vector<CAttributePieces>& ScratchAttributes();
    void ParseNameAndAttributes(CPiece text);
    static void ParseAttributes(const char* text, size_t size, size_t from,
                                std::vector<CAttributePieces>& attributes);
    void NoteName();
    static uint8_t InlineLayout(size_t textLength, size_t nameLength);
    bool IsInline() const;
    static size_t WordSize(uint8_t layout);
    static size_t WordLimit(uint8_t layout);
    char* Block() const;
    uint32_t AttributeCount() const;
    void SetBlock(char* block, uint32_t count, uint8_t layout);
    bool HasPieces() const;
    const char* Bytes() const;
    char* Bytes();
    size_t OffsetCount() const;
    size_t TextOffset() const;
    uint32_t Word(size_t k) const;
    uint32_t Offset(size_t k) const;
    static void SetWord(char* block, uint8_t layout, size_t k, uint32_t word);
    size_t PieceStart(size_t piece) const;
    size_t PieceLength(size_t piece) const;
    CPiece Piece(size_t piece) const;

    // Twelve bytes: a block's address and attribute count, or a short text
    // and name kept inline.
    static constexpr size_t InlineCapacity = 12;
    // Layout values past the inline text lengths.
    static constexpr uint8_t NarrowBlock = 0xFE;
    static constexpr uint8_t WideBlock = 0xFF;

    char Storage[InlineCapacity] = {};
    // The kind bits and the flags.
    uint8_t Bits = 0;
    uint8_t NameCode = 0;
    // How the pieces are kept: inline, where the low four bits are the
    // text's length and the high four the name's, or in a block with narrow
    // or wide words.
    uint8_t Layout = WideBlock;
};

// One node of the document tree: the root of a page (no record, carries the
// working state) or one token of it. An element is its start-tag node, whose
// children are its content; its end tag is the start tag's next sibling.
class CXmlNode {
public:
    CXmlNode();
    // Takes the record's contents and destroys it.
    explicit CXmlNode(CXmlObject* record);
    explicit CXmlNode(const char* text);
    // A node whose record is a copy of `record` (CXmlObject::CopyFrom).
    explicit CXmlNode(const CXmlObject& record);
    // A node whose record is read from the first `length` bytes of `text`.
    CXmlNode(const char* text, int length, const CMarkerWords& words = BuiltInMarkerWords);
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);
    // Destroys the whole subtree without nesting calls, then leaves the parent.
    ~CXmlNode();

    // A node without a record is the root of its own document, and so is a
    // token node that stands in no parent's list.
    CXmlNode* GetDocumentRoot() const;
    CXmlNode* GetParent() const;
    CXmlNode* GetFirstChild() const
    {
        return (Children & CellMark) != 0 ? nullptr : reinterpret_cast<CXmlNode*>(Children);
    }
    CXmlNode* GetLastChild() const
    {
        const CXmlNode* first = GetFirstChild();
        return first != nullptr ? first->PreviousSibling : nullptr;
    }
    CXmlNode* GetPreviousSibling() const
    {
        return PreviousSibling != nullptr && PreviousSibling->NextSibling == this ? PreviousSibling
                                                                                  : nullptr;
    }
    CXmlNode* GetNextSibling() const { return NextSibling; }
    CXmlNode* GetCurrentNode() const;
    CXmlObject* GetObject() const { return HasRecord() ? &Record : nullptr; }
    // True when the children were last filtered with content list number
    // `list` (1 to 255) and none has joined, left or changed since.
    bool WereChildrenFilteredWith(uint8_t list) const;
    void RememberChildrenFilteredWith(uint8_t list);
    CWorkingVariables* GetWorkingVariables() const;
    // Takes ownership; a previous state is destroyed.
    void SetWorkingVariables(CWorkingVariables* state);
    // A document root's working state, made on first use.
    CWorkingVariables& EnsureWorkingState();
    // The working state of this node's document, or null.
    CWorkingVariables* GetDocumentState() const
    {
        return GetDocumentRoot()->GetWorkingVariables();
    }

    // A root's empty record has no name, no text and no kind.
    const char* GetName() const { return Record.GetName(); }
    const char* GetText() const { return Record.GetText(); }
    bool IsComment() const { return Record.IsComment(); }
    bool IsTag() const { return Record.IsTag(); }
    bool IsStartTag() const { return Record.IsStartTag(); }
    bool IsEmptyOrEndTag() const { return Record.IsEmptyOrEndTag(); }
    // A start tag that is not empty: the only kind of token with content.
    bool IsOpenStartTag() const { return IsStartTag() && !IsEmptyOrEndTag(); }
    bool IsTextStyleTag() const { return Record.IsTextStyleTag(); }
    bool IsVoidTag() const { return Record.IsVoidTag(); }
    // An element name equal to the lower-case `name` but for ASCII case.
    bool IsNamed(const char* name) const;

    // First child, else next sibling, else the parent's next sibling.
    // Climbs one level only: this is not a document-order iterator.
    CXmlNode* GetNextNode() const;
    // Previous sibling's last child (one level), else previous sibling, else parent.
    CXmlNode* GetPreviousNode() const;
    CXmlNode* GetFirstNonBlankChild() const;
    CXmlNode* GetLastNonBlankChild() const;

    // Takes this node out of its parent's list; the parent link stays set.
    void Unlink();
    void InsertFirstChild(CXmlNode* node);
    void AppendChild(CXmlNode* node);
    // Requires: this node has a parent (InsertBefore: or is a first child).
    void InsertBefore(CXmlNode* node);
    void InsertAfter(CXmlNode* node);
    void AppendSibling(CXmlNode* node);
    // Moves all children, in order, to directly after `node`.
    void MoveChildrenAfter(CXmlNode* node);
    // Moves every node after `node` in its list, in order, to the end of
    // this node's children.
    void AppendFollowersOf(CXmlNode* node);
    // How often a node of this node's document has left its place: taken
    // out of its list, moved or destroyed. Nodes that join do not count, so a
    // pass that only adds nodes and edits records keeps the count, and every
    // node it saw before stays where it was.
    uint64_t GetStructureChanges() const;

    bool IsClosedBy(const CXmlNode* other) const;
    bool IsComplete() const;
    bool MatchesStartTag(const CXmlNode* start) const;
    bool IsStrayEndTag() const;

    bool HasTextBefore() const;
    bool HasOnlyBlankContent() const;
    // "<br>" becomes "<br/>" and the former children follow it as siblings.
    void MakeEmptyElement();

    // Tree builder: tokenizes `length` bytes of `text` into this document root.
    void Parse(const char* text, int length);
    // Tree builder: places one token (owned from now on) or destroys it.
    void AddToken(CXmlObject* record);
    // The same for a token whose contents move into the new node.
    void AddTokenFrom(CXmlObject& token);
    // The same for a token read from its raw bytes, which hold no NUL.
    void AddTokenText(const char* text, int length);

    // Markup writer: writes the subtree NUL-terminated and returns `buffer`.
    char* Write(char* buffer, const char* lineBreakNames) const;
    // Upper bound of the bytes Write produces, without the NUL.
    long long GetWriteLength(const char* lineBreakNames) const;

private:
    // A token node of bytes that hold no NUL.
    struct CNulFreeText {
        const char* Text;
        size_t Length;
    };
    CXmlNode(CNulFreeText text, const CMarkerWords& words);
    void LinkAfter(CXmlNode* node);
    // Makes a detached node an unlinked child of this node: it belongs to
    // this node's document without standing in its list.
    void HoldUnplaced(CXmlNode* node);
    void LinkAsOnlyOrFirstChild(CXmlNode* node);
    // A node entering this node's document brings its whole subtree along.
    // A node without children takes its document from its new parent's cell.
    void AdoptIntoDocument(CXmlNode* node) const
    {
        if (node->Children != 0 && node->HasRecord() &&
            node->GetDocumentRoot() != GetDocumentRoot())
            AdoptSubtree(node);
    }
    void AdoptSubtree(CXmlNode* node) const;
    bool SpliceChildrenAfter(CXmlNode* node);
    // The cell of this node's child list, made when there is none.
    CParentCell* ChildListCell();
    // The cell of this node's child list, or null.
    CParentCell* OwnCell() const;
    void SetFirstChild(CXmlNode* node) { Children = reinterpret_cast<uintptr_t>(node); }
    // Frees every node below this one.
    void DestroyDescendants();
    // Empties the child list and returns its first node, or null.
    CXmlNode* DetachChildList();
    // Empties the child list; its cell, if any, stays for the former children
    // that still name this node.
    void KeepOnlyCell(CParentCell* cell)
    {
        Children = cell != nullptr ? reinterpret_cast<uintptr_t>(cell) | CellMark : 0;
    }
    // The parent whose list this node stands in, given the node's cell.
    CXmlNode* ListParent(const CParentCell* cell) const;
    // The cell of the list this node stands or stood in, past any forwarding.
    CParentCell* ParentCell() const;
    void NoteRecordChanged() const;
    void NoteStructureChanged() const;
    CRootState& RootState();
    // A root's record stays empty, so its storage keeps the root state.
    CRootState* GetRootState() const
    {
        CRootState* state;
        memcpy(&state, Record.Storage, sizeof state);
        return state;
    }
    void SetRootState(CRootState* state) const { memcpy(Record.Storage, &state, sizeof state); }
    const CRootState* RootStateOrNull() const { return HasRecord() ? nullptr : GetRootState(); }
    // Moves the record's contents into this node's own record.
    void TakeRecord(CXmlObject& record);
    void PlaceToken(CXmlNode* node);
    // True when an open start tag of the name code is among the node placed
    // last and its ancestors.
    bool IsInOpenElement(uint8_t code);
    // True for a text run of the regions meant for the device that holds a
    // line end inside an open pre (markup/PreformattedText.cpp).
    bool HoldsPreformattedLines(const CXmlNode* run);
    // Places a text run of the regions meant for the device inside an open
    // pre: its line ends become breaks.
    void PlacePreformattedText(CXmlNode* run);
    void LinkToken(std::unique_ptr<CXmlNode> node);

    bool HasRecord() const { return Record.HasFlag(CXmlObject::InNodeFlag); }

    // A node's record comes first, so that the record shares the node's
    // address. A document root has no record: its record stays empty, and
    // its storage holds the root state (the node placed last, the working
    // state and the tree builder's state).
    mutable CXmlObject Record;
    // The parent is not stored in each child: all children of a node share
    // one cell that names the parent and the document root, so a whole child
    // list can move to another parent at once. The link stays set when the
    // node is unlinked.
    mutable CParentCell* Cell = nullptr;
    // The first child, whose cell (past any forwarding) is this node's own
    // cell. A node without children keeps its cell here instead, marked by
    // the low bit, while former children may still name it.
    static constexpr uintptr_t CellMark = 1;
    uintptr_t Children = 0;
    // In a parent's child list the first child's link holds the last child,
    // so the list needs no link of its own to its end; in a list without a
    // parent the first node's link is null.
    CXmlNode* PreviousSibling = nullptr;
    CXmlNode* NextSibling = nullptr;
    friend class CXmlObject;
};

// Cuts a page text into tokens and hands each to OnToken. Knows double-quoted
// attribute values and "<%" ... "%>" script blocks, nothing else.
class CCustomXmlParser {
public:
    CCustomXmlParser() = default;
    virtual ~CCustomXmlParser() = default;
    // The handler may read the record during the call but never keeps it.
    virtual void OnToken(CXmlNode* root, CXmlObject* token) = 0;
    void Tokenize(CXmlNode* root, const char* text, int length);

protected:
    // Receives each token's raw bytes; reads them into a record for OnToken.
    virtual void OnTokenText(CXmlNode* root, const char* text, int length);
};

// The tree builder's token handler: every token goes to root->AddToken as a copy.
class CXmlParser : public CCustomXmlParser {
public:
    void OnToken(CXmlNode* root, CXmlObject* token) override;

protected:
    // Reads each token straight into a new node of the root's tree, without
    // the record that OnToken takes.
    void OnTokenText(CXmlNode* root, const char* text, int length) override;
};

// What a pass keeps between its rules for the length of one conversion; the
// pass that owns it defines what is in it.
class CPassMemo {
public:
    virtual ~CPassMemo() = default;
};

// The state of one conversion outside the tree.
class CWorkingVariables {
public:
    CWorkingVariables();
    ~CWorkingVariables();
    CWorkingVariables(const CWorkingVariables&) = delete;
    CWorkingVariables& operator=(const CWorkingVariables&) = delete;

    // Frees Title and the main pass's memo and zeroes the counters; region
    // stack, device and encoding stay.
    void Reset();
    void SetTitle(const char* title);

    int CardCount = 0;
    int FormCount = 0;
    int TableDepth = 0;
    char* Title = nullptr;
    // The page's encoding by its canonical name (a static text, null until the
    // page is read), and whether the deck's XML declaration must name it.
    // Both outlast Reset.
    const char* Encoding = nullptr;
    bool NameEncoding = false;
    // The open device-conditional regions of the page's marker comments; null
    // until the first marker comes, as most pages have none.
    std::shared_ptr<CPrePocessControl> PreProcessControl;
    // The configuration this conversion uses from start to end, whatever
    // reloads meanwhile, and the device chosen from it.
    std::shared_ptr<const CConfiguration> Configuration;
    const CDevice* Device = nullptr;
    // Tag replacement: how deep replacement texts are parsed inside each
    // other, how many more replacements the page's current tag may make, and
    // the bytes of replacement text parsed so far. The page's length, which
    // bounds those bytes, is set by the conversion road (0 for a page parsed
    // by other means).
    int ReplacementNesting = 0;
    int NestedReplacementsLeft = 0;
    size_t ReplacedBytes = 0;
    size_t PageLength = 0;
    // The root child whose subtree the main pass is in.
    const CXmlNode* WalkTop = nullptr;
    // Made by the main pass only for pages that need it, as most pages do not.
    std::unique_ptr<CPassMemo> MainPassMemo;
};

// Element names whose tags the writer puts on lines of their own.
extern const char LineBreakElements[];
