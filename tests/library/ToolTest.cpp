#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

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

// Runs the command-line tool through the shell with `arguments` appended and
// collects its exit status, standard output and standard error.
CRun RunTool(const std::string& arguments)
{
    char folder[] = "/tmp/quorrel-tool-XXXXXX";
    if (mkdtemp(folder) == nullptr) return {};
    const std::string out = std::string(folder) + "/out";
    const std::string err = std::string(folder) + "/err";
    const std::string command = "'" QUORREL_BINARY_DIR "/quorrel' " + arguments + " >" + out +
                                " 2>" + err;
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

}  // namespace
