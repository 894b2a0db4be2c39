// Scans for the bytes of a page that need a second look. Pages are mostly
// plain ASCII, so the scans read sixteen bytes (or eight) at a time where the
// processor can; each has a twin that reads one byte at a time.
#pragma once

// Plain bytes are the printable ASCII bytes with tab, line feed and carriage
// return: they stay as they are in every encoding. The first byte at or
// after `at` that is not plain; `end` when none.
const unsigned char* SkipPlainBytes(const unsigned char* at, const unsigned char* end);
const unsigned char* SkipPlainBytesPlain(const unsigned char* at, const unsigned char* end);

// True when a byte of [at, end) lies beyond ASCII.
bool HoldsByteBeyondAscii(const unsigned char* at, const unsigned char* end);
bool HoldsByteBeyondAsciiPlain(const unsigned char* at, const unsigned char* end);
