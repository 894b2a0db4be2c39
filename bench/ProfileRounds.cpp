// Converts every page of the corpus a given number of rounds and nothing
// else, for a profiler or an instruction count to look at the conversion
// alone: valgrind --tool=callgrind ./quorrel_rounds 2
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "BenchSupport.h"
#include "devices/Xmldevice.h"

int main(int argc, char** argv)
{
    LoadConfiguration();
    const std::vector<CPage> pages = LoadBenchPages();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    std::vector<char> buffer;
    size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round)
        for (const CPage& page : pages) {
            ConvertForBench(page.Text, buffer);
            bytes += page.Text.size();
        }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d rounds over %zu pages: %.1f MB/s\n", rounds, pages.size(),
                static_cast<double>(bytes) / seconds / 1e6);
    return 0;
}
