#include "tests/support/run_cli.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

namespace kltest {

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

CliResult RunShellCommand(const TempDir& dir, const std::string& command)
{
    const std::string errPath = dir.file("stderr.txt");
    const std::string shell = command + " 2>" + ShellQuoted(errPath);
    CliResult result;
    FILE* pipe = popen(shell.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << shell;
        return result;
    }
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadFileBytes(errPath);
    return result;
}

CliResult RunCliCommandLine(const TempDir& dir, const std::string& arguments)
{
    return RunShellCommand(dir, "TZ=UTC " + ShellQuoted(KESTRILANE_CLI) + " " + arguments);
}

CliResult RunCli(const TempDir& dir, const std::vector<std::string>& args)
{
    std::string arguments;
    for (const std::string& arg : args)
        arguments += (arguments.empty() ? "" : " ") + ShellQuoted(arg);
    return RunCliCommandLine(dir, arguments);
}

std::string ShownArguments(const std::vector<std::string>& args)
{
    std::string shown;
    for (const std::string& arg : args)
        shown += arg + " ";
    return shown;
}

}  // namespace kltest
