// Texts with a number each, packed in blocks that never move.
#pragma once

#include <cstddef>
#include <cstring>

// Texts with a number each, in the order they were added. A page of named
// anchors adds one for every anchor, so they are packed (the number, then the
// text with its NUL) into blocks that never move, each half as large as all
// before it: a vector that doubles holds its old and new blocks at once while
// it copies, and on a page of a million anchors one block outgrows what the
// C library keeps and is mapped and faulted in afresh by every conversion.
// An empty list takes nothing from the heap.
class CNumberedTexts {
public:
    CNumberedTexts() = default;
    CNumberedTexts(const CNumberedTexts&) = delete;
    CNumberedTexts& operator=(const CNumberedTexts&) = delete;
    ~CNumberedTexts();

    bool empty() const { return First == nullptr; }
    size_t size() const { return Count; }
    void Add(const char* text, int number);
    // Calls visit(text, number) for each, from the first added.
    template <typename Visit>
    void ForEach(Visit visit) const
    {
        for (const Block* block = First; block != nullptr; block = block->Next)
            for (size_t at = 0; at < block->Used;) {
                int number;
                memcpy(&number, block->Bytes() + at, sizeof number);
                const char* text = block->Bytes() + at + sizeof number;
                visit(text, number);
                at += sizeof number + strlen(text) + 1;
            }
    }

private:
    struct Block {
        Block* Next;
        size_t Capacity;
        size_t Used;
        char* Bytes() { return reinterpret_cast<char*>(this + 1); }
        const char* Bytes() const { return reinterpret_cast<const char*>(this + 1); }
    };
    Block* First = nullptr;
    Block* Last = nullptr;
    size_t Held = 0;
    size_t Count = 0;
};
