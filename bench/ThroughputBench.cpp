// Bytes per second of WapConvert over each real-world page.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "devices/Xmldevice.h"

namespace {

void ConvertOnePage(benchmark::State& state, const CPage* page)
{
    std::vector<char> buffer;
    for (auto _ : state) benchmark::DoNotOptimize(ConvertForBench(page->Text, buffer));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(page->Text.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    LoadConfiguration();
    static const std::vector<CPage> pages = LoadBenchPages();
    for (const CPage& page : pages)
        benchmark::RegisterBenchmark(page.Name.c_str(), ConvertOnePage, &page);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
