// Symbol visibility of the two exported functions; everything else of the
// library stays hidden.
#pragma once

#ifdef _WIN32
#define QUORREL_API __declspec(dllexport)
#else
#define QUORREL_API __attribute__((visibility("default")))
#endif

extern "C" {
QUORREL_API const char* LibraryVersion();
QUORREL_API int WapConvert(char*& callerTag, char*& userAgent, char*& page, int& pageLength,
                           char*& output, int& capacity);
}

// One conversion of a page into the caller's buffer (the body of WapConvert).
int ConvertPage(const char* userAgent, const char* page, int pageLength, char* output,
                int& capacity);
