#include "platform/PlainBytes.h"

#include <cstdint>
#include <cstring>

#include "platform/Simd.h"

namespace {

struct CPlainBytes {
    constexpr CPlainBytes() : Plain()
    {
        for (int b = 0x20; b < 0x80; ++b) Plain[b] = true;
        Plain[static_cast<unsigned char>('\t')] = Plain[static_cast<unsigned char>('\n')] =
            Plain[static_cast<unsigned char>('\r')] = true;
    }
    bool Plain[256];
};

constexpr CPlainBytes PlainBytes;

#if QUORREL_SSE2
// The bytes of a block of sixteen that are not plain, as a bit mask: those
// beyond ASCII and the controls other than tab, line feed and carriage return.
unsigned FaultMask(const __m128i bytes)
{
    const __m128i controls = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
    const __m128i allowed = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')),
                     _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))),
        _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
    // Bytes beyond ASCII compare as negative, so `controls` holds them too.
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(allowed, controls)));
}
#endif

}  // namespace

const unsigned char* SkipPlainBytes(const unsigned char* at, const unsigned char* end)
{
#if QUORREL_SSE2
    for (; end - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        if (const unsigned mask = FaultMask(bytes)) return at + __builtin_ctz(mask);
    }
#endif
    return SkipPlainBytesPlain(at, end);
}

const unsigned char* SkipPlainBytesPlain(const unsigned char* at, const unsigned char* end)
{
    while (at != end && PlainBytes.Plain[*at]) ++at;
    return at;
}

bool HoldsByteBeyondAscii(const unsigned char* at, const unsigned char* end)
{
#if QUORREL_WORDS
    constexpr uint64_t highBits = 0x8080808080808080ULL;
    for (uint64_t word; end - at >= 8; at += 8) {
        memcpy(&word, at, sizeof word);
        if ((word & highBits) != 0) return true;
    }
#endif
    return HoldsByteBeyondAsciiPlain(at, end);
}

bool HoldsByteBeyondAsciiPlain(const unsigned char* at, const unsigned char* end)
{
    for (; at != end; ++at)
        if (*at >= 0x80) return true;
    return false;
}
