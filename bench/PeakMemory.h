// Heap accounting for the benchmarks: every operator new of the process is
// counted, so the peak of one conversion can be read.
#pragma once

#include <cstddef>

void ResetPeakMemory();
// Highest number of live heap bytes since the last reset, above the level at the reset.
size_t PeakMemorySinceReset();
// Counts libxml2's allocations too; call before libxml2 allocates anything.
void CountLibxml2Memory();
