#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "QuorrelVersion.h"
#include "support/TreeDump.h"

namespace {

struct CRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs a shell command line and collects its exit status, standard output
// and standard error.
CRun RunCommand(const std::string& commandLine)
{
    char folder[] = "/tmp/quorrel-tool-XXXXXX";
    if (mkdtemp(folder) == nullptr) return {};
    const std::string out = std::string(folder) + "/out";
    const std::string err = std::string(folder) + "/err";
    const std::string command = "(" + commandLine + ") >" + out + " 2>" + err;
    CRun run;
    const int status = std::system(command.c_str());
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadFile(out);
    run.Err = ReadFile(err);
    unlink(out.c_str());
    unlink(err.c_str());
    rmdir(folder);
    return run;
}

const std::string Tool = "'" QUORREL_BINARY_DIR "/quorrel' ";

// The command-line tool with `arguments` appended.
CRun RunTool(const std::string& arguments)
{
    return RunCommand(Tool + arguments);
}

const std::string Welcome = QUORREL_SOURCE_DIR "/examples/welcome.html";

TEST(Tool, ConvertsAFileAndStandardInput)
{
    const CRun file = RunTool("'" + Welcome + "'");
    EXPECT_EQ(file.Status, 0);
    EXPECT_EQ(file.Out.compare(0, 21, "<?xml version=\"1.0\"?>"), 0) << file.Out;
    EXPECT_NE(file.Out.find("<card id=\"card1\" title=\"Welcome to Quorrel\">"),
              std::string::npos);
    EXPECT_EQ(file.Err, "");

    const CRun input = RunTool("- <'" + Welcome + "'");
    EXPECT_EQ(input.Status, 0);
    EXPECT_EQ(input.Out, file.Out);
}

TEST(Tool, MissingFileIsOneLineOnStandardError)
{
    const CRun run = RunTool("/nonexistent/page.html");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find("/nonexistent/page.html"), std::string::npos);
    EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << run.Err;
}

TEST(Tool, PrintsTheVersion)
{
    const CRun run = RunTool("--version");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, QUORREL_VERSION_TEXT "\n");
}

// The sanitizers reserve far more address space than the limit below.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr bool AddressSpaceLimitsWork = false;
#else
constexpr bool AddressSpaceLimitsWork = true;
#endif

// A conversion that runs out of memory answers like one given too small a
// buffer; the tool must report it, not grow its buffer until allocating one
// throws out of the program.
TEST(Tool, ConversionOutOfMemoryIsReportedAsAFailure)
{
    if (!AddressSpaceLimitsWork) GTEST_SKIP() << "address-space limits under the sanitizers";
    const std::string page = "/tmp/quorrel-tool-dense.html";
    std::string dense = "<html><body>";
    for (int i = 0; i < 1000000; ++i) dense += "<p>x";
    std::FILE* file = std::fopen(page.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(dense.data(), 1, dense.size(), file);
    ASSERT_EQ(std::fclose(file), 0);
    const CRun limited = RunCommand("ulimit -v 100000; " + Tool + page);
    unlink(page.c_str());
    EXPECT_EQ(limited.Status, 1);
    EXPECT_EQ(limited.Out, "");
    EXPECT_EQ(limited.Err, "quorrel: the deck for " + page + " could not be produced\n");
}

}  // namespace
