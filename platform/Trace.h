// Trace points of the conversion.
#pragma once

// The trace hook: with the trace build option every trace text goes to
// standard error; without it the calls cost nothing.
#ifdef QUORREL_TRACE
void Trace(const char* text);
void TraceFormat(const char* format, long long value);
void TraceFormat(const char* format, const char* value);
#else
inline void Trace(const char*) {}
inline void TraceFormat(const char*, long long) {}
inline void TraceFormat(const char*, const char*) {}
#endif
