#pragma once
// Runs the built kestrilane-cli as a separate process, as a script would.
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace kltest {

struct CliResult {
    int exitCode = -1;  // -1 when the program did not end normally
    std::string out;
    std::string err;
};

#if !defined(_WIN32)
// Puts text in single quotes for the POSIX shell.
std::string ShellQuoted(const std::string& text);

// Runs a shell command line with its standard output collected and its standard error
// going through a file in dir.
CliResult RunShellCommand(const TempDir& dir, const std::string& command);

// Runs "kestrilane-cli ARGUMENTS" through the shell, with TZ=UTC so that printed file
// times do not depend on the machine. arguments is shell text: quote what needs it.
// Standard error goes through a file in dir.
CliResult RunCliCommandLine(const TempDir& dir, const std::string& arguments);
#endif

// Runs "kestrilane-cli ARGS" with each argument (UTF-8) passed as it is, with TZ=UTC so
// that printed file times do not depend on the machine. Standard error goes through a
// file in dir. On Windows the program is started directly, without a shell.
CliResult RunCli(const TempDir& dir, const std::vector<std::string>& args);

// The arguments joined by spaces, to name a case in a failure message.
std::string ShownArguments(const std::vector<std::string>& args);

}  // namespace kltest
