#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "library/Exports.h"
#include "support/TreeDump.h"

// This program's allocations go through a counter that can make the Nth
// allocation of the calling thread fail, so that every allocation a
// conversion makes can be made to fail in turn.
namespace {

thread_local long AllocationsMade = 0;
thread_local long FailingAllocation = -1;

void* CountedAllocation(std::size_t size)
{
    if (AllocationsMade++ == FailingAllocation) throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

}  // namespace

// Where g++ inlines these into a new-expression it sees `free` meet `new`
// and warns; both are replaced here, so each block is freed as it was made.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) { return CountedAllocation(size); }
void* operator new[](std::size_t size) { return CountedAllocation(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace {

struct CConversion {
    int Result;
    int Capacity;
    long Allocations;
    std::string Deck;
};

// Converts with the allocation numbered `failing` (counted from the call's
// start) failing, or none when it is -1.
CConversion ConvertFailingAt(const std::string& page, long failing)
{
    std::string pageCopy = page;
    std::string buffer(page.size() * 4 + 4096, '\0');
    char* tag = nullptr;
    char* agent = nullptr;
    char* text = &pageCopy[0];
    char* output = &buffer[0];
    int length = static_cast<int>(page.size());
    int capacity = static_cast<int>(buffer.size());
    AllocationsMade = 0;
    FailingAllocation = failing;
    const int result = WapConvert(tag, agent, text, length, output, capacity);
    FailingAllocation = -1;
    const long allocations = AllocationsMade;
    return {result, capacity, allocations,
            result > 0 ? std::string(output, static_cast<size_t>(result)) : ""};
}

// Running out of memory anywhere in a conversion gives result 0 and capacity
// 0, never an exception or a crash, and the library converts normally
// afterwards; the sanitizer build also finds any heap block that a failure
// path leaves behind.
TEST(AllocationFailure, EveryFailingAllocationGivesAnEmptyResult)
{
    const std::string page = ReadFile(QUORREL_SOURCE_DIR "/examples/portal.html") +
                             "<form action=\"/f\"><input name=\"q\"><select name=\"s\">"
                             "<option>a</option></select><input type=\"submit\"></form>"
                             "<table><tr><td>1</td><td>2</td></tr></table>";
    // The first call may fill buffers that later calls reuse; count a later one.
    ConvertFailingAt(page, -1);
    const CConversion normal = ConvertFailingAt(page, -1);
    ASSERT_GT(normal.Result, 0);
    const long allocations = normal.Allocations;
    ASSERT_GT(allocations, 10);

    for (long failing = 0; failing < allocations; ++failing) {
        const CConversion failed = ConvertFailingAt(page, failing);
        ASSERT_EQ(failed.Result, 0) << "allocation " << failing << " of " << allocations;
        ASSERT_EQ(failed.Capacity, 0) << "allocation " << failing << " of " << allocations;
    }
    // A block left behind in the pool would keep its slabs, and the next
    // conversion would need fewer of them.
    const CConversion after = ConvertFailingAt(page, -1);
    EXPECT_EQ(after.Deck, normal.Deck);
    EXPECT_EQ(after.Allocations, allocations);
}

}  // namespace
