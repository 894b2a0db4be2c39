// The library's own view of its exports: the public declarations, and the
// conversion that WapConvert wraps.
#pragma once

#include <memory>

#include "include/quorrel.h"

class CConfiguration;
class CXmlNode;

// Converts the page into the deck under `root` (an empty document root) with
// the given configuration; returns the deck's written length.
long long BuildDeck(CXmlNode* root, const std::shared_ptr<const CConfiguration>& configuration,
                    const char* userAgent, const char* page, int pageLength);

// One conversion of a page into the caller's buffer (the body of WapConvert).
int ConvertPage(const char* userAgent, const char* page, int pageLength, char* output,
                int& capacity);
