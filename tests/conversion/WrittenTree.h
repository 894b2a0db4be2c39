// Trees of the conversion tests as indented text, each tag in the form the
// writer gives it (lower-cased names and edited attributes show).
#pragma once

#include <string>

#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

inline std::string WrittenRecord(const CXmlObject* record)
{
    std::string text(static_cast<size_t>(record->GetWriteLength()) + 1, '\0');
    text.resize(static_cast<size_t>(record->Write(&text[0]) - text.data()));
    return text;
}

// One line per node below `top`, two blanks of indent per level.
inline std::string WrittenTree(const CXmlNode* top)
{
    return DumpTree(top, [](const CXmlNode* node) { return WrittenRecord(node->GetObject()); });
}
