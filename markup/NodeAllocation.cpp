#include "markup/NodeInternals.h"
#include "markup/Xmlnode.h"
#include "platform/BlockPool.h"

namespace {

// Nodes, cells, records and the record blocks up to 128 bytes all come from
// one pool, in sixteen sizes that are multiples of 8 bytes. Sharing the
// slabs means a small page leaves at most one slab partly unused, not one
// per type. Each thread has a pool of its own, so conversions on different
// threads share no memory and take no lock; a conversion runs on one thread,
// so every block goes back to the pool it came from. The pool starts empty
// without running any code and needs no destructor, so it needs no guard on
// each use.
constexpr size_t BlockStep = 8;
constexpr size_t BlockClasses = 16;

thread_local CBlockPool<BlockStep, BlockClasses> Blocks;

// The class of a block size; BlockClasses or more for the ordinary heap.
constexpr size_t BlockClass(size_t size) { return size == 0 ? 0 : (size - 1) / BlockStep; }

// Every block is a whole number of steps, from the pool or the heap alike;
// only a size too near the end of the address space to round stays as it is.
constexpr size_t BlockBytes(size_t size)
{
    const size_t rounded = (BlockClass(size) + 1) * BlockStep;
    return rounded < size ? size : rounded;
}

void* AllocatePooled(size_t size)
{
    const size_t sizeClass = BlockClass(size);
    return sizeClass < BlockClasses ? Blocks.Allocate(sizeClass) : ::operator new(BlockBytes(size));
}

void ReleasePooled(void* block, size_t size)
{
    const size_t sizeClass = BlockClass(size);
    if (sizeClass < BlockClasses)
        Blocks.Release(block, sizeClass);
    else
        ::operator delete(block);
}

template <typename T>
constexpr bool FitsThePool()
{
    return alignof(T) <= decltype(Blocks)::Alignment && BlockClass(sizeof(T)) < BlockClasses;
}
static_assert(FitsThePool<CXmlNode>() && FitsThePool<CParentCell>() && FitsThePool<CXmlObject>(),
              "pooled types fit the pool's blocks");

}  // namespace

// Any of these sizes is the type's own or a derived class's: the pool keeps
// blocks of every size up to its largest, so each comes from the pool alike.
void* CXmlNode::operator new(size_t size) { return AllocatePooled(size); }
void CXmlNode::operator delete(void* block, size_t size) { ReleasePooled(block, size); }
void* CParentCell::operator new(size_t size) { return AllocatePooled(size); }
void CParentCell::operator delete(void* block, size_t size) { ReleasePooled(block, size); }
void* CXmlObject::operator new(size_t size) { return AllocatePooled(size); }
void CXmlObject::operator delete(void* block, size_t size) { ReleasePooled(block, size); }

char* AllocateRecordBlock(size_t size) { return static_cast<char*>(AllocatePooled(size)); }
size_t RecordBlockCapacity(size_t size) { return BlockBytes(size); }
void ReleaseRecordBlock(char* block, size_t size) { ReleasePooled(block, size); }
