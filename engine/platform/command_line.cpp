#include "engine/platform/command_line.h"

namespace kl {

namespace {

bool IsSwitch(const std::string& word)
{
    if (word.empty())
        return false;
    if (word[0] == '-')
        return true;
    // On this platform a word beginning with "/" is a path ("/notes.txt", "/home/u/a.txt");
    // only the program's own switch is taken in that form.
    return word == "/o" || word == "/O";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& words)
{
    CommandLine result;
    result.argCount = static_cast<int>(words.size());
    bool switchesEnded = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!switchesEnded && word == "--") {
            switchesEnded = true;
            continue;
        }
        if (!switchesEnded && IsSwitch(word)) {
            if (word.size() >= 2 && word[1] == 'o')
                result.option = word.substr(1, 1);  // "o"
            continue;
        }
        result.files.push_back({static_cast<int>(i), word});
    }
    return result;
}

}  // namespace kl
