// Fixed-size blocks for the objects a conversion makes by the hundred
// thousand (tree nodes and tag records), carved from large slabs: no
// per-block heap header and no search for a fitting block.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>

// Blocks of `Classes` sizes, Step, 2 Step, ... Classes Step bytes, each size
// with a free list of its own and all of them cut from the same slabs, so a
// size that is asked for once takes no slab of its own.
template <size_t Step, size_t Classes = 1>
class CBlockPool {
public:
    constexpr CBlockPool() = default;
    // Blocks are aligned for pointers, which is all the pooled types need.
    static constexpr size_t Alignment = alignof(void*);
    static_assert(Step % Alignment == 0, "every block size keeps blocks aligned");

    // A returned block of the size first; then the region blocks are cut
    // from, which is the untouched rest of the newest slab (so a slab's
    // memory is first touched when it is used) or a larger returned block.
    void* Allocate(size_t sizeClass = 0)
    {
        Block* block = Free[sizeClass];
        if (block != nullptr) {
            Free[sizeClass] = block->Next;
        } else {
            const size_t size = (sizeClass + 1) * Step;
            if (static_cast<size_t>(UnusedEnd - Unused) < size) Refill(sizeClass);
            block = reinterpret_cast<Block*>(Unused);
            Unused += size;
        }
        ++Live;
        return block;
    }

    // When the last block comes back, the pool goes back to the heap, so a
    // conversion holds no memory once it is over, and the pool needs no
    // destructor: an empty pool holds nothing.
    void Release(void* pointer, size_t sizeClass = 0)
    {
        Block* block = static_cast<Block*>(pointer);
        block->Next = Free[sizeClass];
        Free[sizeClass] = block;
        if (--Live == 0) ReleaseSlabs();
    }

private:
    struct Block {
        Block* Next;
    };
    struct Slab {
        Slab* Next;
    };
    // Each slab adds a sixteenth of the bytes so far, from a first one of
    // half a kilobyte: a small page takes little, little of a pool lies
    // unused, and a page of a kilobyte needs about sixteen slabs, each with a
    // header of its own, rather than twice as many. What is left of a slab
    // too short for a block becomes a free block of its own size: slabs and
    // blocks are multiples of Step, so the rest always fits a class.
    static constexpr size_t LargestBlock = Classes * Step;
    static constexpr size_t SmallestSlab =
        std::max<size_t>((512 + Step - 1) / Step * Step, 2 * LargestBlock);
    static constexpr size_t LargestSlab = 4096 * LargestBlock;
    static constexpr size_t SlabHeader = (sizeof(Slab) + Alignment - 1) / Alignment * Alignment;

    // The region is too short for the class: the smallest returned block of
    // a larger class becomes the region, so blocks returned or left at a
    // slab's end serve smaller sizes too. Only when there is none does the
    // pool take a new slab.
    void Refill(size_t sizeClass)
    {
        KeepUnusedRest();
        for (size_t larger = sizeClass + 1; larger < Classes; ++larger) {
            Block* block = Free[larger];
            if (block == nullptr) continue;
            Free[larger] = block->Next;
            Unused = reinterpret_cast<unsigned char*>(block);
            UnusedEnd = Unused + (larger + 1) * Step;
            return;
        }
        Grow();
    }

    void Grow()
    {
        const size_t share = SlabBytes / 16 / Step * Step;
        const size_t bytes = std::min(std::max(share, SmallestSlab), LargestSlab);
        unsigned char* memory = static_cast<unsigned char*>(::operator new(SlabHeader + bytes));
        Slab* slab = reinterpret_cast<Slab*>(memory);
        slab->Next = Slabs;
        Slabs = slab;
        SlabBytes += bytes;
        Unused = memory + SlabHeader;
        UnusedEnd = Unused + bytes;
    }

    // The region is emptied before a new slab is asked for: should the heap
    // refuse it, the rest must not be both a free block and the region.
    void KeepUnusedRest()
    {
        const size_t rest = static_cast<size_t>(UnusedEnd - Unused);
        Block* block = reinterpret_cast<Block*>(Unused);
        Unused = UnusedEnd = nullptr;
        if (rest < Step) return;
        const size_t sizeClass = rest / Step - 1;
        block->Next = Free[sizeClass];
        Free[sizeClass] = block;
    }

    void ReleaseSlabs()
    {
        while (Slabs != nullptr) {
            Slab* next = Slabs->Next;
            ::operator delete(Slabs);
            Slabs = next;
        }
        std::fill(Free, Free + Classes, nullptr);
        Unused = UnusedEnd = nullptr;
        SlabBytes = 0;
    }

    Block* Free[Classes] = {};
    unsigned char* Unused = nullptr;
    unsigned char* UnusedEnd = nullptr;
    Slab* Slabs = nullptr;
    size_t Live = 0;
    size_t SlabBytes = 0;
};

// The blocks that hold a record's text, name and attributes. Most are a few
// dozen bytes, so sizes up to 128 come from a pool, in steps of 8 bytes.
char* AllocateRecordBlock(size_t size);
// The bytes a block asked for with `size` holds: a little more, rounded up.
size_t RecordBlockCapacity(size_t size);
void ReleaseRecordBlock(char* block, size_t size);
