// Fixed-size blocks for the objects a conversion makes by the hundred
// thousand (tree nodes and tag records), carved from large slabs: no
// per-block heap header and no search for a fitting block.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>

template <size_t BlockSize>
class CBlockPool {
public:
    constexpr CBlockPool() = default;
    // Blocks are aligned for pointers, which is all the pooled types need.
    static constexpr size_t Alignment = alignof(void*);

    // Returned blocks first; then the untouched rest of the newest slab, so
    // a slab's memory is first touched when it is used.
    void* Allocate()
    {
        Block* block = Free;
        if (block != nullptr) {
            Free = block->Next;
        } else {
            if (Unused == UnusedEnd) Grow();
            block = Unused++;
        }
        ++Live;
        return block;
    }

    // When the last block comes back, the pool goes back to the heap, so a
    // conversion holds no memory once it is over.
    void Release(void* pointer)
    {
        Block* block = static_cast<Block*>(pointer);
        block->Next = Free;
        Free = block;
        if (--Live == 0) ReleaseSlabs();
    }

    ~CBlockPool()
    {
        if (Live == 0) ReleaseSlabs();
    }

private:
    union Block {
        Block* Next;
        alignas(Alignment) unsigned char Bytes[BlockSize];
    };
    struct Slab {
        Slab* Next;
    };
    // Each slab adds a quarter of the blocks so far, from a small first one:
    // a small page takes little, and at most a fifth of a pool lies unused.
    static constexpr size_t SmallestSlabBlocks = 4;
    static constexpr size_t LargestSlabBlocks = 4096;

    void Grow()
    {
        const size_t count =
            std::min(std::max(SlabBlocks / 4, SmallestSlabBlocks), LargestSlabBlocks);
        const size_t header = (sizeof(Slab) + alignof(Block) - 1) / alignof(Block) * alignof(Block);
        unsigned char* memory =
            static_cast<unsigned char*>(::operator new(header + count * sizeof(Block)));
        Slab* slab = reinterpret_cast<Slab*>(memory);
        slab->Next = Slabs;
        Slabs = slab;
        SlabBlocks += count;
        Unused = reinterpret_cast<Block*>(memory + header);
        UnusedEnd = Unused + count;
    }

    void ReleaseSlabs()
    {
        while (Slabs != nullptr) {
            Slab* next = Slabs->Next;
            ::operator delete(Slabs);
            Slabs = next;
        }
        Free = nullptr;
        Unused = UnusedEnd = nullptr;
        SlabBlocks = 0;
    }

    Block* Free = nullptr;
    Block* Unused = nullptr;
    Block* UnusedEnd = nullptr;
    Slab* Slabs = nullptr;
    size_t Live = 0;
    size_t SlabBlocks = 0;
};

// The blocks that hold a record's text, name and attributes. Most are a few
// dozen bytes, so sizes up to 128 come from pools, in steps of 8 bytes.
char* AllocateRecordBlock(size_t size);
void ReleaseRecordBlock(char* block, size_t size);
