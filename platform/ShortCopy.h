// Copies of a few bytes, as records' pieces mostly are: two words cost less
// than a call of the library's copy. The twin copies one byte at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/Simd.h"

// Copies `length` bytes, from one to two words long, as a word from the
// start and a word to the end, which overlap where the piece is shorter.
template <typename Word>
void CopyHeadAndTail(char* to, const char* from, size_t length)
{
    Word head, tail;
    memcpy(&head, from, sizeof head);
    memcpy(&tail, from + length - sizeof tail, sizeof tail);
    memcpy(to, &head, sizeof head);
    memcpy(to + length - sizeof tail, &tail, sizeof tail);
}

inline void CopyBytesPlain(char* to, const char* from, size_t length)
{
    for (size_t i = 0; i < length; ++i) to[i] = from[i];
}

// Copies `length` bytes between places that do not overlap.
inline void CopyShortBytes(char* to, const char* from, size_t length)
{
#if QUORREL_WORDS
    if (length >= 16) {
        memcpy(to, from, length);
    } else if (length >= 8) {
        CopyHeadAndTail<uint64_t>(to, from, length);
    } else if (length >= 4) {
        CopyHeadAndTail<uint32_t>(to, from, length);
    } else {
        CopyBytesPlain(to, from, length);
    }
#else
    CopyBytesPlain(to, from, length);
#endif
}
