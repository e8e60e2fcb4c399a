#pragma once
// The options that work on a line before it is compared: letter case, substitution
// filters, line filters and blank lines. They change only the comparison key of a line
// and which lines take part; the text shown and merged stays as loaded.
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/compare_options.h"

namespace kl {

// Any of the options above is on.
bool HasLineFilterOptions(const CompareOptions& options);

// Patterns that std::regex cannot read, with the reason; empty when all are fine.
std::string InvalidFilterPattern(const CompareOptions& options);

// "/PATTERN/TEXT/": the first character delimits (any character, "/" by convention); a
// backslash before it makes it part of the pattern or the text. The last delimiter may be
// left out. Nothing for any other form.
std::optional<SubstitutionFilter> ParseSubstitution(std::string_view text);
// The form ParseSubstitution reads, with "/" as the delimiter.
std::string FormatSubstitution(const SubstitutionFilter& filter);

// ASCII and full-width Latin capitals (Ａ-Ｚ) turned into small letters, stepping by
// character so that no trail byte of a double-byte character is touched.
std::string FoldCase(std::string_view text, TextEncoding encoding);

class LineFilters {
public:
    // Compiles the patterns for texts in encoding; an unreadable pattern is left out.
    LineFilters(const CompareOptions& options, TextEncoding encoding);

    // The key of a line's content (its bytes before the line end): case folded and
    // substituted as the options say.
    std::string Key(std::string_view content) const;
    // Whether a line takes no part: its content matches a line filter, or its key is blank
    // with blank lines ignored.
    bool LeftOut(std::string_view content, std::string_view key) const;

private:
    struct Substitution {
        std::regex pattern;
        std::string replacement;
    };
    TextEncoding encoding_;
    bool ignoreCase_;
    bool ignoreBlankLines_;
    std::vector<std::regex> lineFilters_;
    std::vector<Substitution> substitutions_;
};

}  // namespace kl
