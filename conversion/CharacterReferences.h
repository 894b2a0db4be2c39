// Character references as a browser reads them in a page, written in the
// form a WML deck may hold (conversion-private).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One named reference that HTML defines: its name without the ';', the one or
// two code points it stands for (Second is 0 for one), and whether HTML also
// reads it without the ';'.
struct CNamedReference {
    const char* Name;
    uint32_t First;
    uint16_t Second;
    uint8_t Legacy;
};

// The whole table, sorted by the names' bytes (NamedReferenceTable.cpp).
extern const CNamedReference NamedReferences[];
extern const size_t NamedReferenceCount;

// Reads the reference that begins at the '&' of `at` (the text ends at
// `end`) and appends its deck form to `out`: WML's own seven names in lower
// case, every other HTML name as numeric references, a numeric reference as
// it stands, or "&#65533;" where XML forbids its code point. `inAttribute`
// applies a browser's rule for attribute values: a name without its ';'
// followed by '=' or a letter or digit is no reference there. Returns the
// bytes read, or 0 (nothing appended) when no reference begins there.
size_t AppendReference(const char* at, const char* end, bool inAttribute, std::string& out);
