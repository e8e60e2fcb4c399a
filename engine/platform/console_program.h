#pragma once
// What a console program needs from the system when it starts.
#include <string>
#include <vector>

namespace kl {

// The program's command-line words in UTF-8, the program name first. On Windows they are
// taken from the wide command line (argv holds them in the local code page, which cannot
// hold every file name); elsewhere argv is taken as it is.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes the standard output and error streams pass every byte as it is (no CR before each
// LF on Windows) and has a Windows console show UTF-8 text. Elsewhere nothing changes.
void UseByteExactStandardStreams();

}  // namespace kl
