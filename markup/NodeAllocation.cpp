#include "markup/BlockPool.h"
#include "markup/Xmlnode.h"

namespace {

CBlockPool<sizeof(CXmlNode)>& NodePool()
{
    static CBlockPool<sizeof(CXmlNode)> pool;
    return pool;
}

CBlockPool<sizeof(CXmlObject)>& RecordPool()
{
    static CBlockPool<sizeof(CXmlObject)> pool;
    return pool;
}

}  // namespace

// Classes derived from these (tests only) fall back to the ordinary heap.
void* CXmlNode::operator new(size_t size)
{
    return size == sizeof(CXmlNode) ? NodePool().Allocate() : ::operator new(size);
}

void CXmlNode::operator delete(void* block, size_t size)
{
    if (size == sizeof(CXmlNode))
        NodePool().Release(block);
    else
        ::operator delete(block);
}

void* CXmlObject::operator new(size_t size)
{
    return size == sizeof(CXmlObject) ? RecordPool().Allocate() : ::operator new(size);
}

void CXmlObject::operator delete(void* block, size_t size)
{
    if (size == sizeof(CXmlObject))
        RecordPool().Release(block);
    else
        ::operator delete(block);
}
