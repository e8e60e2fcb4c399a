#include "engine/platform/console_program.h"

#if defined(_WIN32)
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "engine/platform/utf8_path.h"
#endif

namespace kl {

#if defined(_WIN32)

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        arguments.push_back(Utf8FromWide(words[i]));
    ::LocalFree(words);
    return arguments;
}

namespace {

UINT consoleCodePage = 0;

void RestoreConsoleCodePage()
{
    ::SetConsoleOutputCP(consoleCodePage);
}

}  // namespace

void UseByteExactStandardStreams()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The console shows the UTF-8 messages; the window it belongs to gets its own code
    // page back when the program ends.
    consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit(RestoreConsoleCodePage);
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void UseByteExactStandardStreams()
{
}

#endif

}  // namespace kl
