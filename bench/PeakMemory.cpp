#include "PeakMemory.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

size_t Live = 0;
size_t Peak = 0;
size_t Base = 0;

void* Allocate(size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    Live += malloc_usable_size(block);
    if (Live > Peak) Peak = Live;
    return block;
}

void Release(void* block)
{
    if (block == nullptr) return;
    Live -= malloc_usable_size(block);
    std::free(block);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, size_t) noexcept { Release(block); }
void operator delete[](void* block, size_t) noexcept { Release(block); }

void ResetPeakMemory()
{
    Base = Live;
    Peak = Live;
}

size_t PeakMemorySinceReset()
{
    return Peak - Base;
}
