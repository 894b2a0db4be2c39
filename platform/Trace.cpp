#include "markup/Xmlnode.h"

#include <cstdio>

// Trace texts are discarded unless the build routes them to standard error
// for debugging (CMake option QUORREL_TRACE).
void Trace(const char* text)
{
#ifdef QUORREL_TRACE
    fputs(text, stderr);
#else
    (void)text;
#endif
}

void TraceFormat(const char* format, long long value)
{
#ifdef QUORREL_TRACE
    fprintf(stderr, format, static_cast<int>(value));
#else
    (void)format;
    (void)value;
#endif
}

void TraceFormat(const char* format, const char* value)
{
#ifdef QUORREL_TRACE
    fprintf(stderr, format, value);
#else
    (void)format;
    (void)value;
#endif
}
