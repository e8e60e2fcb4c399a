#include "engine/compare/line_filters.h"

#include "engine/platform/cp932.h"

namespace kl {
namespace {

std::string InEncoding(const std::string& utf8, TextEncoding encoding)
{
    return encoding == TextEncoding::Cp932 ? Utf8ToCp932(utf8) : utf8;
}

bool Compiles(const std::string& pattern, std::string& reason)
{
    try {
        std::regex compiled(pattern, std::regex::ECMAScript);
        return true;
    } catch (const std::regex_error& error) {
        reason = pattern + ": " + error.what();
        return false;
    }
}

}  // namespace

bool HasLineFilterOptions(const CompareOptions& options)
{
    return options.ignoreCase || options.ignoreBlankLines || (options.useLineFilters && !options.lineFilters.empty()) ||
           (options.useSubstitutions && !options.substitutions.empty());
}

std::string InvalidFilterPattern(const CompareOptions& options)
{
    std::string reason;
    for (const std::string& pattern : options.lineFilters)
        if (!Compiles(pattern, reason)) return reason;
    for (const SubstitutionFilter& filter : options.substitutions)
        if (!Compiles(filter.pattern, reason)) return reason;
    return {};
}

std::optional<SubstitutionFilter> ParseSubstitution(std::string_view text)
{
    if (text.size() < 2) return std::nullopt;
    const char delimiter = text[0];
    std::string parts[2];
    int part = 0;
    for (std::size_t k = 1; k < text.size(); ++k) {
        if (text[k] == '\\' && k + 1 < text.size() && text[k + 1] == delimiter) {
            parts[part] += delimiter;
            ++k;
        } else if (text[k] == delimiter) {
            if (++part == 2) {
                if (k + 1 != text.size()) return std::nullopt;
                break;
            }
        } else {
            parts[part] += text[k];
        }
    }
    if (part == 0) return std::nullopt;
    return SubstitutionFilter{parts[0], parts[1]};
}

std::string FormatSubstitution(const SubstitutionFilter& filter)
{
    std::string text = "/";
    for (const std::string* part : {&filter.pattern, &filter.replacement}) {
        for (char c : *part) {
            if (c == '/') text += '\\';
            text += c;
        }
        text += '/';
    }
    return text;
}

std::string FoldCase(std::string_view text, TextEncoding encoding)
{
    std::string out(text);
    for (std::size_t pos = 0; pos < out.size();) {
        // A byte below 0x80 at a character start is a character of its own in both encodings.
        if (static_cast<unsigned char>(out[pos]) < 0x80) {
            if (out[pos] >= 'A' && out[pos] <= 'Z') out[pos] = static_cast<char>(out[pos] + ('a' - 'A'));
            ++pos;
            continue;
        }
        const std::size_t next = NextCharIn(encoding, out, pos);
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(out[pos + k]); };
        if (encoding == TextEncoding::Cp932 && next - pos == 2) {
            // Ａ-Ｚ are 82 60 - 82 79, ａ-ｚ 82 81 - 82 9A.
            if (byte(0) == 0x82 && byte(1) >= 0x60 && byte(1) <= 0x79) out[pos + 1] = static_cast<char>(byte(1) + 0x21);
        } else if (encoding == TextEncoding::Utf8 && next - pos == 3) {
            // Ａ-Ｚ are EF BC A1 - EF BC BA, ａ-ｚ EF BD 81 - EF BD 9A.
            if (byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0xA1 && byte(2) <= 0xBA) {
                out[pos + 1] = static_cast<char>(0xBD);
                out[pos + 2] = static_cast<char>(byte(2) - 0x20);
            }
        }
        pos = next;
    }
    return out;
}

LineFilters::LineFilters(const CompareOptions& options, TextEncoding encoding)
    : encoding_(encoding), ignoreCase_(options.ignoreCase), ignoreBlankLines_(options.ignoreBlankLines)
{
    std::string reason;
    for (const std::string& pattern : options.useLineFilters ? options.lineFilters : std::vector<std::string>{}) {
        const std::string bytes = InEncoding(pattern, encoding);
        if (Compiles(bytes, reason)) lineFilters_.emplace_back(bytes, std::regex::ECMAScript | std::regex::optimize);
    }
    for (const SubstitutionFilter& filter :
         options.useSubstitutions ? options.substitutions : std::vector<SubstitutionFilter>{}) {
        const std::string bytes = InEncoding(filter.pattern, encoding);
        if (Compiles(bytes, reason))
            substitutions_.push_back({std::regex(bytes, std::regex::ECMAScript | std::regex::optimize),
                                      InEncoding(filter.replacement, encoding)});
    }
}

std::string LineFilters::Key(std::string_view content) const
{
    std::string key = ignoreCase_ ? FoldCase(content, encoding_) : std::string(content);
    for (const Substitution& s : substitutions_) key = std::regex_replace(key, s.pattern, s.replacement);
    return key;
}

bool LineFilters::LeftOut(std::string_view content, std::string_view key) const
{
    if (ignoreBlankLines_ && key.find_first_not_of(" \t") == std::string_view::npos) return true;
    for (const std::regex& filter : lineFilters_)
        if (std::regex_search(content.begin(), content.end(), filter)) return true;
    return false;
}

}  // namespace kl
