#include "QuorrelVersion.h"
#include "library/Exports.h"

extern "C" QUORREL_EXPORT const char* LibraryVersion()
{
    return QUORREL_VERSION_TEXT;
}
