// Test helpers: trees as indented text, link invariants, whole conversions.
#pragma once

#include <functional>
#include <string>

#include "markup/TreeLinks.h"

class CXmlNode;

// One line per node, two blanks of indent per level, raw texts as stored.
std::string DumpTree(const CXmlNode* root);
// The same with each node's line given by `line`.
std::string DumpTree(const CXmlNode* root, const std::function<std::string(const CXmlNode*)>& line);
// Parses a page into a new root (tree builder only) and returns its dump.
std::string DumpParsed(const std::string& page);
// Converts a page through WapConvert with a large buffer.
std::string ConvertPage(const std::string& page, const char* userAgent = nullptr);
// Runs `work` on a thread with a 256 KiB stack and waits for it.
void RunOnSmallStack(const std::function<void()>& work);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
