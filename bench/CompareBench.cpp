// Throughput of WapConvert against libxml2's HTML parser alone, over the same
// pages held in memory, and the peak memory of one conversion per page.
#include <libxml/HTMLparser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "BenchSupport.h"
#include "PeakMemory.h"
#include "devices/Xmldevice.h"

namespace {

using Clock = std::chrono::steady_clock;

void SilenceErrors(void*, const char*, ...) {}

void ParseWithLibxml2(const std::string& page)
{
    htmlDocPtr doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, nullptr,
                                    HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                                        HTML_PARSE_NOWARNING);
    if (doc != nullptr) xmlFreeDoc(doc);
}

// MB/s of one round over all pages, lasting at least 0.5 s.
double RoundMegabytesPerSecond(const std::vector<CPage>& pages,
                               const std::function<void(const std::string&)>& work)
{
    size_t bytes = 0;
    for (const CPage& page : pages) bytes += page.Text.size();
    size_t done = 0;
    auto start = Clock::now();
    double seconds = 0;
    while (seconds < 0.5) {
        for (const CPage& page : pages) work(page.Text);
        done += bytes;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return static_cast<double>(done) / seconds / 1e6;
}

struct CComparison {
    double BestOurs = 0;
    double BestTheirs = 0;
    // The median over the rounds of ours / theirs, each pair measured back
    // to back: a busy spell of the machine slows both of a pair alike.
    double MedianRatio = 0;
};

// Rounds that take turns: the best MB/s of each side, and the median of
// the pairs' ratios, which a busy spell moves less than the best figures.
CComparison CompareAlternateRounds(const std::vector<CPage>& pages,
                                   const std::function<void(const std::string&)>& ours,
                                   const std::function<void(const std::string&)>& theirs)
{
    CComparison result;
    std::vector<double> ratios;
    for (int round = 0; round < 11; ++round) {
        const double our = RoundMegabytesPerSecond(pages, ours);
        const double their = RoundMegabytesPerSecond(pages, theirs);
        result.BestOurs = std::max(result.BestOurs, our);
        result.BestTheirs = std::max(result.BestTheirs, their);
        ratios.push_back(our / their);
    }
    std::sort(ratios.begin(), ratios.end());
    result.MedianRatio = ratios[ratios.size() / 2];
    return result;
}

void ReportPeakMemory(const std::vector<CPage>& pages)
{
    std::vector<std::pair<double, std::string>> multiples;
    std::vector<char> buffer;
    for (const CPage& page : pages) {
        if (page.Text.empty()) continue;
        buffer.assign(page.Text.size() * 4 + 65536, '\0');
        ResetPeakMemory();
        ConvertForBench(page.Text, buffer);
        multiples.emplace_back(
            static_cast<double>(PeakMemorySinceReset()) / static_cast<double>(page.Text.size()),
            page.Name);
    }
    if (multiples.empty()) return;
    std::sort(multiples.begin(), multiples.end());
    const auto& worst = multiples.back();
    std::printf("peak memory of one conversion: median %.2fx the page, worst %.2fx (%s)\n",
                multiples[multiples.size() / 2].first, worst.first, worst.second.c_str());
}

}  // namespace

int main()
{
    LoadConfiguration();
    xmlSetGenericErrorFunc(nullptr, SilenceErrors);
    const std::vector<CPage> pages = LoadBenchPages();
    size_t bytes = 0;
    for (const CPage& page : pages) bytes += page.Text.size();
    std::printf("%zu pages, %.2f MB\n", pages.size(), static_cast<double>(bytes) / 1e6);
    std::vector<char> buffer;
    const CComparison comparison = CompareAlternateRounds(
        pages, [&](const std::string& page) { ConvertForBench(page, buffer); }, ParseWithLibxml2);
    std::printf("WapConvert (whole conversion): %.1f MB/s\n", comparison.BestOurs);
    std::printf("libxml2 htmlReadMemory (parse only): %.1f MB/s\n", comparison.BestTheirs);
    std::printf("ratio ours/libxml2: %.2f of the best rounds, %.2f median of paired rounds\n",
                comparison.BestOurs / comparison.BestTheirs, comparison.MedianRatio);
    ReportPeakMemory(pages);
    return 0;
}
