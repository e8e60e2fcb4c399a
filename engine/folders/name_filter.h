#pragma once
// Which entries a folder comparison takes in: name patterns to include and to exclude, and
// whether hidden files count.
#include <string>
#include <string_view>
#include <vector>

namespace kl {

struct NameFilter {
    std::vector<std::string> include;  // file names to take; empty takes every file
    std::vector<std::string> exclude;  // file and folder names to leave out
    bool includeHidden = true;         // names that start with a dot

    bool operator==(const NameFilter&) const = default;
};

// "*.txt;*.md" as its patterns; spaces around a pattern and empty patterns are dropped.
std::vector<std::string> SplitPatterns(std::string_view list);
// The patterns joined by ';'.
std::string JoinPatterns(const std::vector<std::string>& patterns);

// Whether name matches pattern: '*' stands for any run of bytes, '?' for one character
// (one UTF-8 character, or one byte of anything else). Letter case counts.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Whether an entry of this name is taken. Include patterns apply to files only, so that
// "*.txt" still looks into every folder.
bool TakesEntry(const NameFilter& filter, std::string_view name, bool isFolder);

}  // namespace kl
