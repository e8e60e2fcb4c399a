#include "engine/platform/command_line.h"

namespace kl {

namespace {

bool IsSwitch(const std::string& word)
{
    if (word.empty())
        return false;
    if (word[0] == '-')
        return true;
    // "/o" is a switch, "/home/user/a.txt" a file.
    return word[0] == '/' && word.find('/', 1) == std::string::npos;
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
