// Processor time of conversions of hostile pages at n, 2n and 4n: doubling the page should
// at most about double the time. For the larger shapes also the peak memory of
// one conversion and of libxml2's parse of the same page, as multiples of the
// page; then the slow inputs that fuzzing found, each against a time bound.
#include <libxml/HTMLparser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include <malloc.h>
#include <time.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BenchSupport.h"
#include "PeakMemory.h"
#include "devices/Xmldevice.h"

namespace {

// The processor time of this process, the kernel's time for its page faults
// included: on a machine that other work shares, the time the conversion
// itself takes, where the clock on the wall also counts the other work.
double ProcessSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double BestOfFiveConversions(const std::string& page)
{
    std::vector<char> buffer(page.size() * 4 + 65536);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const double start = ProcessSeconds();
        ConvertForBench(page, buffer);
        best = std::min(best, ProcessSeconds() - start);
    }
    return best;
}

using PageMaker = std::function<std::string(size_t)>;

// "--memory": only the peak memory at 4n, which a busy machine does not change.
bool MemoryOnly = false;

struct CSizeFigures {
    double Seconds = -1;
    double OursPerByte = 0;     // peak heap of one conversion over the page length
    double Libxml2PerByte = 0;  // the same for libxml2's parse of the page
};

void SilenceErrors(void*, const char*, ...) {}

double PeakOfLibxml2Parse(const std::string& page)
{
    ResetPeakMemory();
    htmlDocPtr doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, nullptr,
                                    HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                                        HTML_PARSE_NOWARNING);
    const double peak = static_cast<double>(PeakMemorySinceReset());
    if (doc != nullptr) xmlFreeDoc(doc);
    return peak;
}

CSizeFigures Measure(const PageMaker& makePage, size_t units, bool memory)
{
    const std::string page = makePage(units);
    CSizeFigures figures;
    if (!MemoryOnly) figures.Seconds = BestOfFiveConversions(page);
    if (!memory) return figures;
    std::vector<char> buffer(page.size() * 4 + 65536);
    ResetPeakMemory();
    ConvertForBench(page, buffer);
    const double size = static_cast<double>(page.size());
    figures.OursPerByte = static_cast<double>(PeakMemorySinceReset()) / size;
    figures.Libxml2PerByte = PeakOfLibxml2Parse(page) / size;
    return figures;
}

// Each size is made and timed in a process of its own, so every size starts
// from the same fresh heap: otherwise memory that an earlier page left with
// the heap makes one size look cheaper than the next.
CSizeFigures MeasureInChild(const PageMaker& makePage, size_t units, bool memory)
{
    int channel[2];
    if (pipe(channel) != 0) return Measure(makePage, units, memory);
    const pid_t child = fork();
    if (child == 0) {
        const CSizeFigures figures = Measure(makePage, units, memory);
        const ssize_t written = write(channel[1], &figures, sizeof figures);
        _exit(written == sizeof figures ? 0 : 1);
    }
    close(channel[1]);
    CSizeFigures figures;
    if (child < 0 || read(channel[0], &figures, sizeof figures) != sizeof figures)
        figures = Measure(makePage, units, memory);
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return figures;
}

void PrintMemory(const char* label, const PageMaker& makePage, size_t units,
                 const CSizeFigures& figures)
{
    std::printf("%-24s %.1f MB page: peak %.2fx the page (libxml2's parse %.2fx)\n", label,
                static_cast<double>(makePage(units).size()) / 1e6, figures.OursPerByte,
                figures.Libxml2PerByte);
}

// The machine's speed drifts for seconds at a time, which five rounds in one
// process do not outlast: each size is timed in three processes, taken in
// turn with the other sizes, and keeps its best. Memory is measured once at 4n.
void Report(const char* label, const PageMaker& makePage, size_t n, bool memory = false)
{
    if (MemoryOnly) {
        if (memory) PrintMemory(label, makePage, n << 2, MeasureInChild(makePage, n << 2, true));
        return;
    }
    double t[3] = {1e9, 1e9, 1e9};
    CSizeFigures largest;
    for (int turn = 0; turn < 3; ++turn) {
        for (int step = 0; step < 3; ++step) {
            const CSizeFigures figures =
                MeasureInChild(makePage, n << step, memory && turn == 0 && step == 2);
            t[step] = std::min(t[step], figures.Seconds);
            if (turn == 0 && step == 2) largest = figures;
        }
    }
    std::printf("%-24s n=%-7zu %.3fs  2n %.3fs (x%.2f)  4n %.3fs (x%.2f)\n", label, n, t[0],
                t[1], t[1] / t[0], t[2], t[2] / t[1]);
    if (memory) PrintMemory(label, makePage, n << 2, largest);
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

// The scaling shapes measure the conversion itself, so their profile lifts
// the deck bound that would replace every large deck by a short notice.
void LoadConfigurationText(const std::string& text)
{
    const std::string path = "/tmp/quorrel-scaling-" + std::to_string(getpid()) + ".cfg";
    std::ofstream(path, std::ios::binary) << text;
    ReleaseConfiguration();
    LoadConfigurationFrom(path.c_str());
    std::remove(path.c_str());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ConvertsInTime(const char* name, const std::string& page, double bound)
{
    const double seconds = page.empty() ? -1 : BestOfFiveConversions(page);
    const bool inTime = seconds >= 0 && seconds <= bound;
    std::printf("%-44s %.4fs (bound %.2fs)%s\n", name, seconds, bound, inTime ? "" : "  FAILED");
    return inTime;
}

// The two pages that once took seconds, and the inputs that fuzzing found
// slow, kept in the fuzz corpus (each page with the configuration of the same
// name, if any, else the built-in profile): each within its time bound.
bool SlowInputsConvertInTime()
{
    LoadConfigurationText("");
    bool inTime = ConvertsInTime("20,000 named anchors", NamedAnchorPage(20000), 0.1);
    inTime = ConvertsInTime("20,000 submit buttons", SubmitButtonPage(20000), 0.1) && inTime;
    for (const char* name : {"submit-replacement", "named-anchors", "submit-buttons",
                             "configuration-slow-postfields", "configuration-slow-postfields-2",
                             "configuration-slow-postfields-3"}) {
        const std::string base = std::string(QUORREL_SLOW_INPUTS_DIR) + "/" + name;
        LoadConfigurationText(ReadFile(base + ".cfg"));
        inTime = ConvertsInTime(("fuzz input " + std::string(name)).c_str(),
                                ReadFile(base + ".html"), 0.1) && inTime;
    }
    return inTime;
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const char* mode = argc > 1 ? argv[1] : "";
    FixMemoryReturn(std::strcmp(mode, "--return-memory") == 0);
    if (std::strcmp(mode, "--slow-inputs") == 0) return SlowInputsConvertInTime() ? 0 : 1;
    MemoryOnly = std::strcmp(mode, "--memory") == 0;
    CountLibxml2Memory();
    xmlSetGenericErrorFunc(nullptr, SilenceErrors);
    LoadConfigurationText("DEVICE_GROUP=SCALING\nMAX_DECK_BYTES=2147483647\n");
    Report("nested <p>", [](size_t n) { return NestedPage("p", n); }, 100000);
    Report("nested <br>", [](size_t n) { return NestedPage("br", n); }, 100000);
    Report("nested <font>", [](size_t n) { return NestedPage("font", n); }, 100000);
    Report("siblings <b>x</b>", SiblingPage, 100000);
    Report("nested <p> + stray </x>", StrayEndTagPage, 100000);
    Report("named anchors, no html", NamedAnchorPage, 450000, true);
    Report("one form, submit buttons", SubmitButtonPage, 300000, true);
    Report("24 attributes a tag", AttributePage, 48000, true);
    Report("small forms", SmallFormPage, 150000, true);
    Report("table rows", TableRowPage, 430000, true);
    return MemoryOnly || SlowInputsConvertInTime() ? 0 : 1;
}
