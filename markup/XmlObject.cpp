#include "markup/Xmlnode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "markup/ElementNames.h"
#include "markup/RecordLayout.h"
#include "platform/BlockPool.h"
#include "platform/ByteScan.h"

namespace {

// The name and attribute parse compare bytes as signed values, so bytes 128
// to 255 count as less than 32: they end names and unquoted values.
inline int Signed(char b) { return static_cast<signed char>(b); }

bool NameStartByte(char b) { return Signed(b) > 32 && Signed(b) > '/'; }

bool NameEndByte(char b) { return Signed(b) <= 32 || b == '>' || b == '/' || b == '-'; }

constexpr CByteSet Quote = {'"'};

}  // namespace

// The pieces may lie in the old storage: it is released only after the new
// one holds their copies.
void CXmlObject::Assemble(CPiece text, CPiece name, const CAttributePieces* attributes,
                          size_t count)
{
    if (count == 0 && text.Length + name.Length + 2 <= InlineCapacity) {
        char pieces[InlineCapacity] = {};
        memcpy(pieces, text.Data, text.Length);
        memcpy(pieces + text.Length + 1, name.Data, name.Length);
        ReleaseBlock();
        memcpy(Storage, pieces, sizeof pieces);
        Layout = InlineLayout(text.Length, name.Length);
        return;
    }
    const size_t words = 3 + 2 * count;
    size_t pieces = text.Length + 1 + name.Length + 1;
    for (size_t i = 0; i < count; ++i)
        pieces += attributes[i].Name.Length + attributes[i].Value.Length + 2;
    const uint8_t layout =
        words * WordSize(NarrowBlock) + pieces <= WordLimit(NarrowBlock) ? NarrowBlock : WideBlock;
    const size_t size = words * WordSize(layout) + pieces;
    if (size > WordLimit(layout)) throw std::bad_alloc();
    char* block = AllocateRecordBlock(size);
    SetWord(block, layout, 0, static_cast<uint32_t>(size));
    size_t at = words * WordSize(layout);
    size_t k = 1;
    auto put = [&](CPiece piece) {
        CopyShortBytes(block + at, piece.Data, piece.Length);
        at += piece.Length;
        block[at++] = '\0';
        SetWord(block, layout, k++, static_cast<uint32_t>(at));
    };
    put(text);
    put(name);
    for (size_t i = 0; i < count; ++i) {
        put(attributes[i].Name);
        put(attributes[i].Value);
    }
    ReleaseBlock();
    SetBlock(block, static_cast<uint32_t>(count), layout);
}

// Leaves the record with no pieces.
void CXmlObject::ReleaseBlock()
{
    if (!IsInline() && Block() != nullptr) ReleaseRecordBlock(Block(), Word(0));
    SetBlock(nullptr, 0, WideBlock);
}

std::vector<CXmlObject::CAttributePieces>& CXmlObject::ScratchAttributes()
{
    // One list a thread: conversions on other threads have lists of their own.
    thread_local std::vector<CAttributePieces> attributes;
    attributes.clear();
    return attributes;
}

std::vector<CXmlObject::CAttributePieces>& CXmlObject::AttributePieces() const
{
    std::vector<CAttributePieces>& pieces = ScratchAttributes();
    for (size_t i = 0; i < AttributeCount(); ++i)
        pieces.push_back({Piece(2 + 2 * i), Piece(3 + 2 * i)});
    return pieces;
}

const char* CXmlObject::GetText() const
{
    return HasFlag(HasTextFlag) ? Bytes() + PieceStart(0) : nullptr;
}

int CXmlObject::GetTextLength() const
{
    if (!HasFlag(HasTextFlag)) return 0;
    return static_cast<int>(std::min<size_t>(PieceLength(0), INT_MAX));
}

const char* CXmlObject::GetName() const
{
    return HasFlag(HasNameFlag) ? Bytes() + PieceStart(1) : nullptr;
}

CXmlObject::CPiece CXmlObject::PieceOrNothing(size_t piece) const
{
    return HasPieces() ? Piece(piece) : CPiece{"", 0};
}

void CXmlObject::AssembleWithAttributes(const std::vector<CAttributePieces>& attributes)
{
    Assemble(PieceOrNothing(0), PieceOrNothing(1), attributes.data(), attributes.size());
}

void CXmlObject::AssembleKeepingAttributes(CPiece text, CPiece name)
{
    const std::vector<CAttributePieces>& attributes = AttributePieces();
    Assemble(text, name, attributes.data(), attributes.size());
}

// Works out the name's code and case whenever the name changes.
void CXmlObject::NoteName()
{
    NameCode = 0;
    SetFlag(NameLowerCaseFlag, true);
    if (!HasFlag(HasNameFlag)) return;
    const CPiece name = Piece(1);
    NameCode = ElementNameCode(name.Data, name.Length);
    // A coded name is its code's name but for case.
    const bool lowerCase = NameCode != 0
                               ? EqualShortBytes(name.Data, ElementNameOfCode(NameCode), name.Length)
                               : !HasUpperCaseAscii(name.Data, name.Length);
    SetFlag(NameLowerCaseFlag, lowerCase);
}

void CXmlObject::SetText(const char* text, int length, const CMarkerWords& words)
{
    size_t size = 0;
    if (text != nullptr && length > 0) {
        const void* nul = memchr(text, '\0', static_cast<size_t>(length));
        size = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text)
                   : static_cast<size_t>(length);
    }
    SetTextWithoutNul(text, size, words);
}

void CXmlObject::SetTextWithoutNul(const char* text, size_t length, const CMarkerWords& words)
{
    NoteChange();
    const CPiece raw = {text != nullptr ? text : "", text != nullptr ? length : 0};
    SetFlag(HasTextFlag, true);
    SetFlag(HasNameFlag, false);
    SetKind(KindOf(raw.Data, raw.Length));
    if (IsTag() || (IsComment() && MarkerKindOf(raw.Data, raw.Length, words) != 0))
        ParseNameAndAttributes(raw);
    else
        Assemble(raw, {"", 0}, nullptr, 0);
    NoteName();
}

void CXmlObject::ReplaceText(const std::string& text)
{
    NoteChange();
    AssembleKeepingAttributes({text.data(), text.size()}, PieceOrNothing(1));
    SetFlag(HasTextFlag, true);
    SetKind(KindOf(text.data(), text.size()));
}

// Cuts a piece to its first `length` bytes in place: the pieces after it
// move down in the same storage.
void CXmlObject::ShortenPiece(size_t piece, size_t length)
{
    const size_t start = PieceStart(piece);
    const size_t old = PieceLength(piece);
    if (length >= old) return;
    if (IsInline()) {
        memmove(Storage + start + length, Storage + start + old, InlineCapacity - (start + old));
        Layout = piece == 0 ? InlineLayout(length, PieceLength(1))
                            : InlineLayout(PieceLength(0), length);
        return;
    }
    ResizeBlockPiece(piece, length);
}

// The block's spare bytes make room for a longer piece without a new block.
bool CXmlObject::LengthenPiece(size_t piece, size_t extra)
{
    if (IsInline() || Block() == nullptr) return false;
    const size_t end = Offset(OffsetCount() - 1);
    if (end + extra > RecordBlockCapacity(Word(0)) || end + extra > WordLimit(Layout)) return false;
    ResizeBlockPiece(piece, PieceLength(piece) + extra);
    return true;
}

// Moves the piece's NUL and every piece after it so that the piece is
// `length` bytes long; the block must hold the result.
void CXmlObject::ResizeBlockPiece(size_t piece, size_t length)
{
    const size_t nul = PieceStart(piece) + PieceLength(piece);
    const size_t moved = PieceStart(piece) + length;
    memmove(Block() + moved, Block() + nul, Offset(OffsetCount() - 1) - nul);
    for (size_t k = piece; k < OffsetCount(); ++k)
        SetWord(Block(), Layout, k + 1, static_cast<uint32_t>(Offset(k) + moved - nul));
}

void CXmlObject::CollapseText()
{
    if (!HasFlag(HasTextFlag)) return;
    NoteChange();
    char* text = Bytes() + PieceStart(0);
    const size_t shortened = CollapseWhitespace(text, PieceLength(0));
    ShortenPiece(0, shortened);
    SetKind(KindOf(text, shortened));
}

void CXmlObject::TrimText(size_t begin, size_t end)
{
    if (!HasFlag(HasTextFlag)) return;
    const size_t length = PieceLength(0);
    end = std::min(end, length);
    begin = std::min(begin, end);
    if (begin == 0 && end == length) return;
    NoteChange();
    char* text = Bytes() + PieceStart(0);
    memmove(text, text + begin, end - begin);
    ShortenPiece(0, end - begin);
    SetKind(KindOf(text, end - begin));
}

// The parent of the node holding this record judges its children by their
// records, so it learns of every change.
void CXmlObject::NoteChange()
{
    if (HasFlag(InNodeFlag)) reinterpret_cast<const CXmlNode*>(this)->NoteRecordChanged();
}

void CXmlObject::TakeFrom(CXmlObject& other)
{
    NoteChange();
    ReleaseBlock();
    memcpy(Storage, other.Storage, sizeof Storage);
    Layout = other.Layout;
    Bits = static_cast<uint8_t>((other.Bits & ~InNodeFlag) | (Bits & InNodeFlag));
    NameCode = other.NameCode;
    other.SetBlock(nullptr, 0, WideBlock);
    other.Bits &= InNodeFlag;
    other.NameCode = 0;
}

namespace {

// Name and attributes of a tag's raw text, as pieces of that text.
struct CTagPieces {
    bool HasName = false;
    size_t NameStart = 0;
    size_t NameLength = 0;
    size_t AttributesFrom = 0;
};

CTagPieces FindName(const char* t, size_t length)
{
    CTagPieces found;
    size_t start = 1;
    while (start < length && !NameStartByte(t[start])) ++start;
    if (start >= length) return found;
    size_t end = start + 1;
    while (end < length && !NameEndByte(t[end])) ++end;
    if (end >= length) return found;
    found.HasName = true;
    found.NameStart = start;
    found.NameLength = end - start;
    found.AttributesFrom = end;
    return found;
}

}  // namespace

// Scans from the name's end to the byte before the closing '>'. A single
// quote is an ordinary byte here: [a='x'] gives a="" and x'=""; pages depend
// on it, as on blanks around '=' splitting an attribute.
void CXmlObject::ParseAttributes(const char* t, size_t size, size_t from,
                                 std::vector<CAttributePieces>& attributes)
{
    if (size < 2) return;
    const size_t last = size - 1;
    const size_t npos = static_cast<size_t>(-1);
    bool inQuote = false;
    size_t nameStart = npos, nameEnd = npos, valueStart = npos, valueEnd = npos;
    bool complete = false;
    for (size_t k = from; k < last; ++k) {
        const char b = t[k];
        if (b == '"') inQuote = !inQuote;
        if (!inQuote) {
            if (nameStart == npos) {
                if (Signed(b) > 32 && b != '/' && b != '-') nameStart = k;
            } else if (nameEnd == npos) {
                if (Signed(b) <= 32) {
                    nameEnd = k;
                    complete = true;
                } else if (b == '=') {
                    nameEnd = k;
                    valueStart = k + 1;
                }
            } else if (valueStart != npos && valueStart <= k) {
                if (Signed(b) <= 32 || (Signed(b) <= '/' && b != '.')) {
                    valueEnd = (b == '"') ? k + 1 : k;
                    complete = true;
                }
            }
        }
        if (nameStart != npos && (complete || k + 2 == size)) {
            if (nameEnd == npos) nameEnd = k + 1;
            CPiece value = {"", 0};
            if (valueStart != npos) {
                if (valueEnd == npos) valueEnd = k + 1;
                if (valueEnd > valueStart) value = {t + valueStart, valueEnd - valueStart};
                if (value.Length > 0 && value.Data[0] == '"') {
                    ++value.Data;
                    value.Length -= value.Length > 1 ? 2 : 1;
                }
            }
            attributes.push_back({{t + nameStart, nameEnd - nameStart}, value});
            nameStart = nameEnd = valueStart = valueEnd = npos;
            complete = false;
        }
        // Within quotes only the closing quote, or the last byte before the
        // '>', changes anything: the bytes between are passed at once.
        if (inQuote && k + 2 < last) {
            const size_t quote = Quote.FindFirst(t, k + 1, last);
            k = (quote != last ? quote : last - 1) - 1;
        }
    }
}

// `text` may lie in the old block, which Assemble copies before releasing it.
void CXmlObject::ParseNameAndAttributes(CPiece text)
{
    SetFlag(HasNameFlag, true);
    const CTagPieces tag = FindName(text.Data, text.Length);
    if (!tag.HasName) {
        Assemble(text, {"", 0}, nullptr, 0);
        return;
    }
    std::vector<CAttributePieces>& attributes = ScratchAttributes();
    ParseAttributes(text.Data, text.Length, tag.AttributesFrom, attributes);
    Assemble(text, {text.Data + tag.NameStart, tag.NameLength}, attributes.data(),
             attributes.size());
}

CXmlObject* CXmlObject::Clone() const
{
    CXmlObject* copy = new CXmlObject;
    if (HasFlag(HasTextFlag)) copy->SetText(GetText(), GetTextLength());
    return copy;
}

CXmlObject* CXmlObject::CreateEndTag() const
{
    std::string text = "</";
    if (HasFlag(HasNameFlag)) text += GetName();
    text += '>';
    CXmlObject* end = new CXmlObject;
    end->SetText(text.data(), static_cast<int>(text.size()));
    return end;
}

// The new text is one byte longer: the old text with its terminating NUL,
// whose place the '>' then takes. A block with a spare byte keeps it in
// place; otherwise it is assembled anew, with no copy of the text on the way.
void CXmlObject::MakeEmptyElement()
{
    const size_t length = PieceLength(0);
    if (!HasFlag(HasTextFlag) || length == 0) return;
    NoteChange();
    if (!LengthenPiece(0, 1))
        AssembleKeepingAttributes({GetText(), length + 1}, PieceOrNothing(1));
    char* text = Bytes() + PieceStart(0);
    text[length - 1] = '/';
    text[length] = '>';
    SetKind(KindOf(text, length + 1));
}

// Rules rename most elements to the name they already have: such a record
// stays as it is, and its node's parent is not told of a change.
void CXmlObject::SetName(const char* name)
{
    if (name == nullptr) name = "";
    if (name[0] == '/') ++name;
    const size_t length = strlen(name);
    if (HasFlag(HasNameFlag) && PieceLength(1) == length &&
        EqualShortBytes(Bytes() + PieceStart(1), name, length))
        return;
    NoteChange();
    if (HasPieces() && length <= PieceLength(1)) {
        memmove(Bytes() + PieceStart(1), name, length);
        ShortenPiece(1, length);
    } else {
        AssembleKeepingAttributes(PieceOrNothing(0), {name, length});
    }
    SetFlag(HasNameFlag, true);
    NoteName();
}

// Most pages write their names in lower case already: such a record is left
// as it is, and its node's parent is not told of a change.
void CXmlObject::LowerCaseNames()
{
    if (!HasPieces()) return;
    const size_t count = AttributeCount();
    auto hasUpperCase = [this](size_t piece) {
        return HasUpperCaseAscii(Bytes() + PieceStart(piece), PieceLength(piece));
    };
    bool upper = !IsNameLowerCase();
    for (size_t i = 0; i < count && !upper; ++i) upper = hasUpperCase(2 + 2 * i);
    if (!upper) return;
    NoteChange();
    auto lower = [this](size_t piece) {
        LowerCaseAscii(Bytes() + PieceStart(piece), PieceLength(piece));
    };
    lower(1);
    for (size_t i = 0; i < count; ++i) lower(2 + 2 * i);
    // The code ignores case, so only the case flag changes.
    SetFlag(NameLowerCaseFlag, true);
}
