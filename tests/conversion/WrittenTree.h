// Trees of the conversion tests as indented text, each tag in the form the
// writer gives it (lower-cased names and edited attributes show).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "markup/Xmlnode.h"

inline std::string WrittenRecord(const CXmlObject* record)
{
    std::string text(static_cast<size_t>(record->GetWriteLength()) + 1, '\0');
    text.resize(static_cast<size_t>(record->Write(&text[0]) - text.data()));
    return text;
}

// One line per node below `top`, two blanks of indent per level.
inline std::string WrittenTree(const CXmlNode* top)
{
    std::string out;
    std::vector<std::pair<const CXmlNode*, int>> due;
    for (const CXmlNode* child = top->GetLastChild(); child; child = child->GetPreviousSibling())
        due.emplace_back(child, 0);
    while (!due.empty()) {
        auto [node, depth] = due.back();
        due.pop_back();
        out.append(static_cast<size_t>(depth) * 2, ' ');
        out += WrittenRecord(node->GetObject()) + "\n";
        for (const CXmlNode* child = node->GetLastChild(); child;
             child = child->GetPreviousSibling())
            due.emplace_back(child, depth + 1);
    }
    return out;
}
