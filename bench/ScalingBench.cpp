// Conversion time of hostile pages at n, 2n and 4n: doubling the page should
// at most about double the time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BenchSupport.h"
#include "devices/Xmldevice.h"

namespace {

double BestOfFiveConversions(const std::string& page)
{
    std::vector<char> buffer(page.size() * 4 + 65536);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        auto start = std::chrono::steady_clock::now();
        ConvertForBench(page, buffer);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best) best = seconds;
    }
    return best;
}

using PageMaker = std::function<std::string(size_t)>;

// Each size is made and timed in a process of its own, so every size starts
// from the same fresh heap: otherwise memory that an earlier page left with
// the heap makes one size look cheaper than the next.
double SecondsToConvert(const PageMaker& makePage, size_t units)
{
    int channel[2];
    if (pipe(channel) != 0) return BestOfFiveConversions(makePage(units));
    const pid_t child = fork();
    if (child == 0) {
        const double seconds = BestOfFiveConversions(makePage(units));
        const ssize_t written = write(channel[1], &seconds, sizeof seconds);
        _exit(written == sizeof seconds ? 0 : 1);
    }
    close(channel[1]);
    double seconds = -1;
    if (child < 0 || read(channel[0], &seconds, sizeof seconds) != sizeof seconds)
        seconds = BestOfFiveConversions(makePage(units));
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return seconds;
}

// The machine's speed drifts for seconds at a time, which five rounds in one
// process do not outlast: each size is timed in three processes, taken in
// turn with the other sizes, and keeps its best.
void Report(const char* label, const PageMaker& makePage)
{
    const size_t n = 100000;
    double t1 = 1e9;
    double t2 = 1e9;
    double t4 = 1e9;
    for (int turn = 0; turn < 3; ++turn) {
        t1 = std::min(t1, SecondsToConvert(makePage, n));
        t2 = std::min(t2, SecondsToConvert(makePage, 2 * n));
        t4 = std::min(t4, SecondsToConvert(makePage, 4 * n));
    }
    std::printf("%-28s n=1e5 %.3fs  2n %.3fs (x%.2f)  4n %.3fs (x%.2f)\n", label, t1, t2, t2 / t1,
                t4, t4 / t2);
}

// Whether the C library hands freed memory back to the system depends on
// thresholds it moves as it goes, so at one size a conversion reused the
// memory of the round before and at the next it faulted every page in afresh:
// the ratios measured the C library's choice, not the conversion. Fixed
// thresholds give every size the same rule. By default the C library keeps
// what it is given, so each size's best round is the conversion's own work.
// With "--return-memory" it keeps its starting thresholds, hands most of a
// conversion's memory back, and each round includes faulting it in again.
void FixMemoryReturn(bool returnMemory)
{
    const int mapFrom = returnMemory ? 128 * 1024 : 32 * 1024 * 1024;
    const int trimFrom = returnMemory ? 128 * 1024 : 1 << 30;
    mallopt(M_MMAP_THRESHOLD, mapFrom);
    mallopt(M_TRIM_THRESHOLD, trimFrom);
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    FixMemoryReturn(argc > 1 && std::strcmp(argv[1], "--return-memory") == 0);
    LoadConfiguration();
    Report("nested <p>", [](size_t n) { return NestedPage("p", n); });
    Report("nested <br>", [](size_t n) { return NestedPage("br", n); });
    Report("nested <font>", [](size_t n) { return NestedPage("font", n); });
    Report("siblings <b>x</b>", SiblingPage);
    Report("nested <p> + stray </x>", StrayEndTagPage);
    return 0;
}
