// Finding the first of a few bytes in a text: sixteen bytes at a time where
// the processor has SSE2, one at a time for the rest.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <stdexcept>

#include "platform/Simd.h"

// A small set of bytes, as a table for the byte-by-byte test and as a list
// for the test of sixteen at once.
class CByteSet {
public:
    static constexpr size_t Capacity = 8;

    // A set of more bytes than the capacity does not compile (the sets are
    // constants): a throw cannot be evaluated at compile time.
    constexpr CByteSet(std::initializer_list<unsigned char> bytes) : Members(), List()
    {
        for (unsigned char b : bytes) {
            if (Count == Capacity) throw std::length_error("CByteSet holds at most 8 bytes");
            Members[b] = true;
            List[Count++] = b;
        }
    }
    constexpr bool Has(char b) const { return Members[static_cast<unsigned char>(b)]; }

    // Where the first byte of the set lies in [from, length); `length` when none.
    size_t FindFirst(const char* text, size_t from, size_t length) const
    {
        size_t at = from;
#if QUORREL_SSE2
        __m128i wanted[Capacity];
        for (size_t i = 0; i < Count; ++i) wanted[i] = _mm_set1_epi8(static_cast<char>(List[i]));
        for (; length - at >= 16; at += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
            __m128i found = _mm_setzero_si128();
            for (size_t i = 0; i < Count; ++i)
                found = _mm_or_si128(found, _mm_cmpeq_epi8(block, wanted[i]));
            if (const int mask = _mm_movemask_epi8(found))
                return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
#endif
        return FindFirstPlain(text, at, length);
    }

    // The same, one byte at a time: the twin of FindFirst.
    size_t FindFirstPlain(const char* text, size_t from, size_t length) const
    {
        while (from < length && !Has(text[from])) ++from;
        return from;
    }

private:
    bool Members[256];
    unsigned char List[Capacity];
    size_t Count = 0;
};
