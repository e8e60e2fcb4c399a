// The desktop entry and the AppStream metainfo that are installed with the program, checked
// by the validators the desktop's own tools use: Linux desktop files, checked through a
// POSIX shell.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

const std::string kPackaging = KESTRILANE_SOURCE_DIR "/packaging/";

struct Outcome {
    int exitCode = -1;
    std::string output;
};

// Runs a shell command with its standard error joined to the output.
Outcome RunShell(const std::string& command) {
    Outcome outcome;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return outcome;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    return outcome;
}

bool HasTool(const std::string& name) {
    return RunShell("command -v " + name).exitCode == 0;
}

TEST(Packaging, DesktopEntryPassesDesktopFileValidate) {
    if (!HasTool("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    const Outcome outcome = RunShell("desktop-file-validate '" + kPackaging + "jp.harrowfen.kestrilane.desktop'");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    // Hints are advice; warnings and errors are faults.
    EXPECT_EQ(outcome.output.find("warning:"), std::string::npos) << outcome.output;
    EXPECT_EQ(outcome.output.find("error:"), std::string::npos) << outcome.output;
}

TEST(Packaging, MetainfoPassesAppstreamValidate) {
    if (!HasTool("appstreamcli")) GTEST_SKIP() << "appstreamcli is not installed (appstream)";
    const Outcome outcome =
        RunShell("appstreamcli validate --no-net --pedantic '" + kPackaging + "jp.harrowfen.kestrilane.metainfo.xml'");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_EQ(outcome.output.find("W: "), std::string::npos) << outcome.output;
    EXPECT_EQ(outcome.output.find("E: "), std::string::npos) << outcome.output;
}

}  // namespace
#endif
