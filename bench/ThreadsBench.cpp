// Throughput of WapConvert over the real-world pages with 1, 2 and N threads
// (N = the machine's cores), each thread converting the pages in turn from a
// place of its own.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "devices/Xmldevice.h"

namespace {

using Clock = std::chrono::steady_clock;

// MB/s of all threads together over one round of about `seconds`: the bytes
// of every conversion finished, over the time until the last thread stopped.
double RoundMegabytesPerSecond(const std::vector<CPage>& pages, unsigned threads, double seconds)
{
    std::atomic<bool> stop{false};
    std::vector<size_t> bytes(threads, 0);
    std::vector<std::thread> workers;
    const auto start = Clock::now();
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            std::vector<char> buffer;
            size_t done = 0;
            for (size_t i = t * pages.size() / threads; !stop.load(std::memory_order_relaxed); ++i) {
                const std::string& page = pages[i % pages.size()].Text;
                ConvertForBench(page, buffer);
                done += page.size();
            }
            bytes[t] = done;
        });
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop.store(true);
    for (std::thread& worker : workers) worker.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    size_t total = 0;
    for (size_t done : bytes) total += done;
    return static_cast<double>(total) / elapsed / 1e6;
}

}  // namespace

int main()
{
    LoadConfiguration();
    const std::vector<CPage> pages = LoadBenchPages();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<unsigned> counts = {1, 2};
    if (cores > 2) counts.push_back(cores);
    std::printf("%zu pages, %u cores\n", pages.size(), cores);
    // The counts take turns, round by round, and each keeps its best round,
    // so a busy spell of the machine slows every count alike.
    std::vector<double> best(counts.size(), 0);
    for (int round = 0; round < 5; ++round)
        for (size_t c = 0; c < counts.size(); ++c)
            best[c] = std::max(best[c], RoundMegabytesPerSecond(pages, counts[c], 1.0));
    for (size_t c = 0; c < counts.size(); ++c)
        std::printf("%u thread%s: %.1f MB/s (%.2f x one thread)\n", counts[c],
                    counts[c] == 1 ? "" : "s", best[c], best[c] / best[0]);
    return 0;
}
