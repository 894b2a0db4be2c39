// Whether the speed kernels of the platform layer use the processor's
// sixteen-byte instructions (SSE2). A build with QUORREL_NO_SIMD (CMake
// option of that name) uses their plain twins everywhere, so that the plain
// paths, which the 32-bit Windows build runs, are tested on this machine too.
#pragma once

#if defined(__SSE2__) && !defined(QUORREL_NO_SIMD)
#define QUORREL_SSE2 1
#include <emmintrin.h>
#else
#define QUORREL_SSE2 0
#endif

// Word-at-a-time code (eight bytes in a 64-bit integer) follows the same
// switch: its plain twin reads one byte at a time.
#ifdef QUORREL_NO_SIMD
#define QUORREL_WORDS 0
#else
#define QUORREL_WORDS 1
#endif
