#include "markup/BlockPool.h"
#include "markup/NodeInternals.h"
#include "markup/Xmlnode.h"

namespace {

// One pool per type. A pool starts empty without running any code, so a
// pool needs no guard on each use.
template <typename T>
CBlockPool<sizeof(T)> Pool;

template <typename T>
CBlockPool<sizeof(T)>& PoolOf()
{
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
void CXmlObject::operator delete(void* block, size_t size) { ReleaseToPool<CXmlObject>(block, size); }

namespace {

constexpr size_t RecordBlockStep = 16;
constexpr size_t PooledRecordBlockSize = 128;

// Calls `use` with the pool for blocks of `size` bytes, or returns false.
template <typename Use>
bool WithRecordBlockPool(size_t size, Use use)
{
    switch ((size + RecordBlockStep - 1) / RecordBlockStep) {
    case 0:
    case 1: use(PoolOf<char[16]>()); return true;
    case 2: use(PoolOf<char[32]>()); return true;
    case 3: use(PoolOf<char[48]>()); return true;
    case 4: use(PoolOf<char[64]>()); return true;
    case 5: use(PoolOf<char[80]>()); return true;
    case 6: use(PoolOf<char[96]>()); return true;
    case 7: use(PoolOf<char[112]>()); return true;
    case 8: use(PoolOf<char[128]>()); return true;
    default: return false;
    }
}

}  // namespace

char* AllocateRecordBlock(size_t size)
{
    void* block = nullptr;
    if (!WithRecordBlockPool(size, [&](auto& pool) { block = pool.Allocate(); }))
        block = ::operator new(size);
    return static_cast<char*>(block);
}

void ReleaseRecordBlock(char* block, size_t size)
{
    if (!WithRecordBlockPool(size, [&](auto& pool) { pool.Release(block); }))
        ::operator delete(block);
}
