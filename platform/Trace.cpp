#include "platform/Trace.h"

#include <cstdio>

// Trace texts go to standard error in builds for debugging (CMake option
// QUORREL_TRACE); otherwise the header makes every trace call empty.
#ifdef QUORREL_TRACE
void Trace(const char* text)
{
    fputs(text, stderr);
}

void TraceFormat(const char* format, long long value)
{
    fprintf(stderr, format, static_cast<int>(value));
}

void TraceFormat(const char* format, const char* value)
{
    fprintf(stderr, format, value);
}
#endif
