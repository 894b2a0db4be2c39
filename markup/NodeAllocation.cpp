#include "markup/BlockPool.h"
#include "markup/Xmlnode.h"

namespace {

template <typename T>
CBlockPool<sizeof(T)>& PoolOf()
{
    static CBlockPool<sizeof(T)> pool;
    return pool;
}

// Classes derived from these (tests only) fall back to the ordinary heap.
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
void* CXmlObject::operator new(size_t size) { return AllocateFromPool<CXmlObject>(size); }
void CXmlObject::operator delete(void* block, size_t size) { ReleaseToPool<CXmlObject>(block, size); }
