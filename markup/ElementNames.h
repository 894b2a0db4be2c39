// Codes of the element names the converter treats specially. A record works
// out its name's code once, so testing a name against a list or choosing an
// element rule costs a table look-up instead of string compares.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>

class CXmlObject;

// Codes run from 1 to below this bound.
constexpr size_t ElementCodeBound = 128;

// The code of a name, ASCII case ignored; 0 for a name without one.
uint8_t ElementNameCode(const char* name, size_t length);
uint8_t ElementNameCode(const char* name);
// The lower-case name of a code from 1 to below the bound that has a name.
const char* ElementNameOfCode(uint8_t code);

// A name list (see IsNameInList) as a set of codes. A list that holds a name
// without a code is answered by comparing names instead.
class CElementSet {
public:
    explicit CElementSet(const char* list);
    // The same answer as IsNameInList(record->GetName(), list).
    bool Contains(const CXmlObject* record) const;
    // The same answer as IsNameInList(name, list).
    bool ContainsName(const char* name) const;

private:
    std::bitset<ElementCodeBound> Codes;
    const char* List;
    bool HasUncodedNames = false;
};
