// Shared checks of the fuzz targets.
#pragma once

#include <cstddef>
#include <string>

// Converts a page the way WapConvert does and checks the writer against its
// measured bound and the capacity rule; aborts on any violation.
void ConvertAndCheck(const std::string& page, const char* userAgent);
// Loads a configuration from the given file text (through a temporary file).
void LoadConfigurationText(const std::string& text);
// Returns to the built-in configuration.
void LoadBuiltInConfiguration();
