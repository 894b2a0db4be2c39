// The explicit stack of the tree walks, which a page may make as deep as it
// has tags.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>

// A last-in, first-out stack kept in chunks that never move. A vector that
// outgrows its block holds the old block and the new one, twice as large,
// while it copies; a page nested a hundred thousand deep then touches three
// times the memory its walk needs. Here each chunk adds half of what the
// chunks before it hold, so the stack holds at most half again what it ever
// held, and nothing is copied. The first chunk lies inside the stack itself,
// so a shallow walk takes nothing from the heap. Chunks stay until the stack
// goes, so a walk that climbs and descends again across a chunk's edge
// allocates nothing.
template <typename T>
class CWorkStack {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "items are copied as bytes and never destroyed");

public:
    CWorkStack() = default;
    CWorkStack(const CWorkStack&) = delete;
    CWorkStack& operator=(const CWorkStack&) = delete;
    ~CWorkStack()
    {
        Chunk* chunk = First.Next;
        while (chunk != nullptr) {
            Chunk* next = chunk->Next;
            ::operator delete(chunk);
            chunk = next;
        }
    }

    bool empty() const { return Used == 0; }
    // Requires: not empty. The reference holds until the next push or pop.
    T& back() { return Top->Items[Used - 1]; }
    void push_back(const T& item)
    {
        if (Used == Top->Capacity) NextChunk();
        Top->Items[Used++] = item;
    }
    // Requires: not empty. Only the first chunk is ever left empty.
    void pop_back()
    {
        if (--Used == 0 && Top->Previous != nullptr) {
            Top = Top->Previous;
            Used = Top->Capacity;
        }
    }

private:
    struct Chunk {
        Chunk* Previous;
        Chunk* Next;
        size_t Capacity;
        T* Items;
    };
    // A chunk's items follow its header, aligned for them.
    static constexpr size_t ItemsOffset = (sizeof(Chunk) + alignof(T) - 1) / alignof(T) * alignof(T);
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "the heap aligns the items");
    // The kilobyte of items kept inside holds the walks of pages nested 64
    // deep, as a page of unclosed paragraphs soon is.
    static constexpr size_t FirstCapacity = std::max<size_t>(8, 1024 / sizeof(T));

    void NextChunk()
    {
        if (Top->Next == nullptr) {
            const size_t capacity = std::max(FirstCapacity, Held / 2);
            void* memory = ::operator new(ItemsOffset + capacity * sizeof(T));
            T* items = reinterpret_cast<T*>(static_cast<char*>(memory) + ItemsOffset);
            Top->Next = new (memory) Chunk{Top, nullptr, capacity, items};
            Held += capacity;
        }
        Top = Top->Next;
        Used = 0;
    }

    T FirstItems[FirstCapacity];
    Chunk First{nullptr, nullptr, FirstCapacity, FirstItems};
    Chunk* Top = &First;
    // Items in the top chunk.
    size_t Used = 0;
    // Capacity of all chunks together.
    size_t Held = FirstCapacity;
};
