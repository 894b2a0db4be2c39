#include "markup/BreakRecord.h"

#include "markup/Xmlnode.h"

namespace {

// The record fits in itself, so the copy owns no memory of a conversion.
struct CBreakRecord {
    CBreakRecord() { Record.SetText("<br/>", 5); }
    CXmlObject Record;
};

}  // namespace

const CXmlObject& BreakRecord()
{
    static const CBreakRecord prototype;
    return prototype.Record;
}
