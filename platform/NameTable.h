// A table from names to numbers, made once per page for the look-ups of its
// fragment links (conversion-private).
#pragma once

#include <string_view>
#include <vector>

// Open addressing over one vector: no allocation per name. The names are
// views: what they view must outlive the table.
class CNameTable {
public:
    // Room for `count` names.
    explicit CNameTable(size_t count);
    // Keeps the first number given for each name; numbers are 0 or more.
    void Add(std::string_view name, int number);
    // The number of the name, or -1 when it has none.
    int Find(std::string_view name) const;

private:
    struct CEntry {
        std::string_view Name;
        int Number = -1;
    };
    size_t SlotOf(std::string_view name) const;

    std::vector<CEntry> Entries;
};
