#include "library/Exports.h"

extern "C" QUORREL_API const char* LibraryVersion()
{
    return "Quorrel, v0.9.21";
}
