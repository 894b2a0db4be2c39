#include "platform/NameTable.h"

#include <functional>

// At most half the slots are used, so probes stay short; the size is a
// power of two, so a hash is cut to a slot by a mask.
CNameTable::CNameTable(size_t count)
{
    size_t size = 16;
    while (size < 2 * count) size *= 2;
    Entries.resize(size);
}

size_t CNameTable::SlotOf(std::string_view name) const
{
    return std::hash<std::string_view>{}(name) & (Entries.size() - 1);
}

void CNameTable::Add(std::string_view name, int number)
{
    for (size_t slot = SlotOf(name);; slot = (slot + 1) & (Entries.size() - 1)) {
        CEntry& entry = Entries[slot];
        if (entry.Number < 0) {
            entry = {name, number};
            return;
        }
        if (entry.Name == name) return;
    }
}

int CNameTable::Find(std::string_view name) const
{
    for (size_t slot = SlotOf(name);; slot = (slot + 1) & (Entries.size() - 1)) {
        const CEntry& entry = Entries[slot];
        if (entry.Number < 0) return -1;
        if (entry.Name == name) return entry.Number;
    }
}
