#include "tests/support/run_cli.h"

#include <gtest/gtest.h>

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>

#include "engine/platform/utf8_path.h"
#else
#include <sys/wait.h>
#endif

namespace kltest {

#if defined(_WIN32)

namespace {

// One word of a command line, quoted so that the started program's CommandLineToArgvW
// (or its C runtime) reads it back unchanged: backslashes count only before a quote.
std::wstring CommandLineWord(const std::wstring& word)
{
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return word;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

}  // namespace

CliResult RunCli(const TempDir& dir, const std::vector<std::string>& args)
{
    CliResult result;
    std::wstring commandLine = CommandLineWord(kl::WideFromUtf8(KESTRILANE_CLI));
    for (const std::string& arg : args)
        commandLine += L" " + CommandLineWord(kl::WideFromUtf8(arg));

    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    if (!::CreatePipe(&outRead, &outWrite, &inherited, 0)) {
        ADD_FAILURE() << "cannot make a pipe";
        return result;
    }
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    const std::string errPath = dir.file("stderr.txt");
    HANDLE err = ::CreateFileW(kl::WideFromUtf8(errPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE in = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING,
                              0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = outWrite;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    // The program reads TZ when it starts; this process's own clock is left alone.
    ::SetEnvironmentVariableW(L"TZ", L"UTC");
    const bool started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                          nullptr, nullptr, &startup, &process) != 0;
    ::CloseHandle(outWrite);
    ::CloseHandle(err);
    ::CloseHandle(in);
    if (!started) {
        ::CloseHandle(outRead);
        ADD_FAILURE() << "cannot start " << KESTRILANE_CLI;
        return result;
    }
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0)
        result.out.append(buffer, got);
    ::CloseHandle(outRead);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process.hProcess, &exitCode))
        result.exitCode = static_cast<int>(exitCode);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    result.err = ReadFileBytes(errPath);
    return result;
}

#else

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

#endif

std::string ShownArguments(const std::vector<std::string>& args)
{
    std::string shown;
    for (const std::string& arg : args)
        shown += arg + " ";
    return shown;
}

}  // namespace kltest
