#pragma once
// The words of the program's command line, sorted into the recorded switch and the file
// arguments to open.
#include <string>
#include <vector>

namespace kl {

struct FileArgument {
    int position = 0;  // 1-based position among the words (the program name is 0)
    std::string path;  // the word as given

    bool operator==(const FileArgument&) const = default;
};

struct CommandLine {
    std::string option;               // "o" when the switch /o or -o was given, else empty
    std::vector<FileArgument> files;  // file arguments, left to right
    int argCount = 0;                 // number of words, the program name included
};

// words[0] is the program name. A word beginning with "-" is a switch, and so are "/o" and
// "/O"; only a lower-case "o" as the second character has an effect. Any other word
// beginning with "/" is an absolute path ("/notes.txt" is a file). Switches may stand
// anywhere and never shift the positions of the file arguments. A word "--" ends the
// switches: every word after it is a file, whatever it begins with.
CommandLine ParseCommandLine(const std::vector<std::string>& words);

}  // namespace kl
