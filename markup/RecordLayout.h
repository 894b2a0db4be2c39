// How a tag record keeps its text, name and attributes: private to the
// markup sources, which alone read or build a record's storage.
#pragma once

#include <climits>
#include <cstdint>
#include <cstring>

#include "markup/Xmlnode.h"
#include "platform/ShortCopy.h"

// A record holds pieces: piece 0 is the raw text, 1 the name, then
// attribute i's name and value are 2 + 2i and 3 + 2i, each NUL-terminated.
// A record without attributes whose text and name fit in Storage keeps
// them there, one after the other. Any other record keeps them in one heap
// block, whose address and the attribute count fill Storage: the block
// holds its size, a table of offsets, then the pieces. Word 0 is the
// block's size; word k + 1 is where piece k + 1 starts; the last word is
// where the last piece's NUL ends. Words take one byte in a block below
// 256 bytes and four in a larger one. Edits build new storage.
struct CXmlObject::CPiece {
    const char* Data;
    size_t Length;
};
struct CXmlObject::CAttributePieces {
    CPiece Name;
    CPiece Value;
};

// Inline, the low four bits of the layout are the text's length and the
// high four the name's; each is at most ten bytes.
inline uint8_t CXmlObject::InlineLayout(size_t textLength, size_t nameLength)
{
    return static_cast<uint8_t>(textLength | nameLength << 4);
}
inline bool CXmlObject::IsInline() const { return Layout < NarrowBlock; }
inline size_t CXmlObject::WordSize(uint8_t layout) { return layout == NarrowBlock ? 1 : 4; }
// The largest offset, and so block size, that words of the layout hold.
inline size_t CXmlObject::WordLimit(uint8_t layout)
{
    return layout == NarrowBlock ? UINT8_MAX : UINT32_MAX;
}
inline char* CXmlObject::Block() const
{
    char* block;
    memcpy(&block, Storage, sizeof block);
    return block;
}
inline uint32_t CXmlObject::AttributeCount() const
{
    if (IsInline()) return 0;
    uint32_t count;
    memcpy(&count, Storage + sizeof(char*), sizeof count);
    return count;
}
inline void CXmlObject::SetBlock(char* block, uint32_t count, uint8_t layout)
{
    memcpy(Storage, &block, sizeof block);
    memcpy(Storage + sizeof block, &count, sizeof count);
    Layout = layout;
}
inline bool CXmlObject::HasPieces() const { return IsInline() || Block() != nullptr; }
// Where the pieces lie, inline or in the block.
inline const char* CXmlObject::Bytes() const { return IsInline() ? Storage : Block(); }
inline char* CXmlObject::Bytes() { return IsInline() ? Storage : Block(); }
inline size_t CXmlObject::OffsetCount() const
{
    return 2 + 2 * static_cast<size_t>(AttributeCount());
}
inline size_t CXmlObject::TextOffset() const { return (OffsetCount() + 1) * WordSize(Layout); }
inline uint32_t CXmlObject::Word(size_t k) const
{
    if (Layout == NarrowBlock) return static_cast<unsigned char>(Block()[k]);
    uint32_t word;
    memcpy(&word, Block() + k * sizeof word, sizeof word);
    return word;
}
inline uint32_t CXmlObject::Offset(size_t k) const { return Word(k + 1); }
inline void CXmlObject::SetWord(char* block, uint8_t layout, size_t k, uint32_t word)
{
    if (layout == NarrowBlock) {
        block[k] = static_cast<char>(word);
    } else {
        memcpy(block + k * sizeof word, &word, sizeof word);
    }
}
inline size_t CXmlObject::PieceStart(size_t piece) const
{
    if (IsInline()) return piece == 0 ? 0 : (Layout & 15u) + 1u;
    return piece == 0 ? TextOffset() : Offset(piece - 1);
}
inline size_t CXmlObject::PieceLength(size_t piece) const
{
    if (IsInline()) return piece == 0 ? Layout & 15u : Layout >> 4u;
    return Offset(piece) - PieceStart(piece) - 1;
}
inline CXmlObject::CPiece CXmlObject::Piece(size_t piece) const
{
    return {Bytes() + PieceStart(piece), PieceLength(piece)};
}
