#include "markup/BlockPool.h"
#include "markup/NodeInternals.h"
#include "markup/Xmlnode.h"

namespace {

// One pool per type, its blocks rounded up to keep them aligned. A pool
// starts empty without running any code, so a pool needs no guard on each use.
constexpr size_t PoolAlignment = alignof(void*);

template <typename T>
CBlockPool<(sizeof(T) + PoolAlignment - 1) / PoolAlignment * PoolAlignment> Pool;

template <typename T>
auto& PoolOf()
{
    static_assert(alignof(T) <= PoolAlignment, "pool blocks fit the type");
    return Pool<T>;
}

// A block of another size (a class derived from one of these) comes from the
// ordinary heap.
template <typename T>
void* AllocateFromPool(size_t size)
{
    return size == sizeof(T) ? PoolOf<T>().Allocate() : ::operator new(size);
}

template <typename T>
void ReleaseToPool(void* block, size_t size)
{
    if (size == sizeof(T))
        PoolOf<T>().Release(block);
    else
        ::operator delete(block);
}

}  // namespace

void* CXmlNode::operator new(size_t size) { return AllocateFromPool<CXmlNode>(size); }
void CXmlNode::operator delete(void* block, size_t size) { ReleaseToPool<CXmlNode>(block, size); }
void* CParentCell::operator new(size_t size) { return AllocateFromPool<CParentCell>(size); }
void CParentCell::operator delete(void* block, size_t size)
{
    ReleaseToPool<CParentCell>(block, size);
}
void* CXmlObject::operator new(size_t size) { return AllocateFromPool<CXmlObject>(size); }
void CXmlObject::operator delete(void* block, size_t size)
{
    ReleaseToPool<CXmlObject>(block, size);
}

namespace {

// Record blocks up to 128 bytes come from one pool, in sixteen sizes that
// are multiples of 8 bytes.
constexpr size_t RecordBlockStep = 8;
constexpr size_t RecordBlockClasses = 16;

CBlockPool<RecordBlockStep, RecordBlockClasses> RecordBlocks;

// The class of a block size; RecordBlockClasses or more for the ordinary heap.
size_t RecordBlockClass(size_t size)
{
    return size == 0 ? 0 : (size - 1) / RecordBlockStep;
}

}  // namespace

char* AllocateRecordBlock(size_t size)
{
    const size_t sizeClass = RecordBlockClass(size);
    return static_cast<char*>(sizeClass < RecordBlockClasses ? RecordBlocks.Allocate(sizeClass)
                                                             : ::operator new(size));
}

void ReleaseRecordBlock(char* block, size_t size)
{
    const size_t sizeClass = RecordBlockClass(size);
    if (sizeClass < RecordBlockClasses)
        RecordBlocks.Release(block, sizeClass);
    else
        ::operator delete(block);
}
