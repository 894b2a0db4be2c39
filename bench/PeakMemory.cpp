#include "PeakMemory.h"

#include <libxml/xmlmemory.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

size_t Live = 0;
size_t Peak = 0;
size_t Base = 0;

void* CountedMalloc(size_t size)
{
    void* block = std::malloc(size);
    if (block != nullptr) {
        Live += malloc_usable_size(block);
        if (Live > Peak) Peak = Live;
    }
    return block;
}

void CountedFree(void* block)
{
    if (block == nullptr) return;
    Live -= malloc_usable_size(block);
    std::free(block);
}

void* CountedRealloc(void* block, size_t size)
{
    const size_t before = block != nullptr ? malloc_usable_size(block) : 0;
    void* moved = std::realloc(block, size);
    if (moved == nullptr) return nullptr;
    Live = Live - before + malloc_usable_size(moved);
    if (Live > Peak) Peak = Live;
    return moved;
}

char* CountedStrdup(const char* text)
{
    const size_t length = strlen(text) + 1;
    char* copy = static_cast<char*>(CountedMalloc(length));
    if (copy != nullptr) memcpy(copy, text, length);
    return copy;
}

void* Allocate(size_t size)
{
    void* block = CountedMalloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

}  // namespace

void CountLibxml2Memory()
{
    xmlMemSetup(CountedFree, CountedMalloc, CountedRealloc, CountedStrdup);
}

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { CountedFree(block); }
void operator delete[](void* block) noexcept { CountedFree(block); }
void operator delete(void* block, size_t) noexcept { CountedFree(block); }
void operator delete[](void* block, size_t) noexcept { CountedFree(block); }

void ResetPeakMemory()
{
    Base = Live;
    Peak = Live;
}

size_t PeakMemorySinceReset()
{
    return Peak - Base;
}
