#include "platform/NumberedTexts.h"

#include <algorithm>
#include <new>

CNumberedTexts::~CNumberedTexts()
{
    while (First != nullptr) {
        Block* next = First->Next;
        ::operator delete(First);
        First = next;
    }
}

void CNumberedTexts::Add(const char* text, int number)
{
    const size_t bytes = sizeof number + strlen(text) + 1;
    if (Last == nullptr || Last->Capacity - Last->Used < bytes) {
        const size_t capacity = std::max({bytes, Held / 2, size_t{64}});
        Block* block = new (::operator new(sizeof(Block) + capacity)) Block{nullptr, capacity, 0};
        (Last != nullptr ? Last->Next : First) = block;
        Last = block;
        Held += capacity;
    }
    char* at = Last->Bytes() + Last->Used;
    memcpy(at, &number, sizeof number);
    memcpy(at + sizeof number, text, bytes - sizeof number);
    Last->Used += bytes;
    ++Count;
}
