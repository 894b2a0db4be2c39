// The library's own view of its exports: the public declarations, and the
// conversion that WapConvert wraps.
#pragma once

#include "include/quorrel.h"

// One conversion of a page into the caller's buffer (the body of WapConvert).
int ConvertPage(const char* userAgent, const char* page, int pageLength, char* output,
                int& capacity);
