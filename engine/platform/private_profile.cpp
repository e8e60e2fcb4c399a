#include "engine/platform/private_profile.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "engine/platform/atomic_file.h"
#include "engine/platform/cp932.h"

namespace kl {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The file as lines of UTF-8 text without their line ends.
struct IniText {
    std::vector<std::string> lines;
    std::string newline = "\n";  // the line end the file uses, kept when it is rewritten
    bool bom = false;
};

enum class LoadStatus { Loaded, Missing, Unreadable };

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return std::nullopt;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[8192];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

void SplitLines(std::string_view text, IniText& ini)
{
    std::size_t firstLf = text.find('\n');
    if (firstLf != std::string_view::npos && firstLf > 0 && text[firstLf - 1] == '\r') {
        ini.newline = "\r\n";
    }
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ini.lines.emplace_back(line);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
    }
}

LoadStatus Load(const std::string& path, IniText& ini)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return ec ? LoadStatus::Unreadable : LoadStatus::Missing;
    }
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return LoadStatus::Unreadable;
    }
    std::string_view content = *bytes;
    if (content.starts_with(kUtf8Bom)) {
        ini.bom = true;
        content.remove_prefix(kUtf8Bom.size());
    }
    if (IsValidUtf8(content)) {
        SplitLines(content, ini);
    } else {
        // Not UTF-8: a settings file written on Windows in code page 932.
        SplitLines(Cp932ToUtf8(content), ini);
    }
    return LoadStatus::Loaded;
}

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimBlanks(line);
    if (!line.starts_with('[')) {
        return std::nullopt;
    }
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(1, close - 1));
}

bool IsComment(std::string_view line)
{
    return TrimBlanks(line).starts_with(';');
}

// The key of a "key=value" line, or nothing for a line that holds no key.
std::optional<std::string_view> KeyName(std::string_view line)
{
    if (IsComment(line) || SectionName(line)) {
        return std::nullopt;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(0, equals));
}

std::string_view RawValue(std::string_view line)
{
    std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
    if (IsQuoted(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a key is, or would go, in the file. Only the first section of a name counts, and
// in it only the first line of a key.
struct KeyPlace {
    std::optional<std::size_t> sectionLine;
    std::size_t sectionEnd = 0;  // one past the last line of the section's body
    std::optional<std::size_t> keyLine;
};

KeyPlace Locate(const IniText& ini, std::string_view section, std::string_view key)
{
    KeyPlace place;
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        std::optional<std::string_view> name = SectionName(ini.lines[i]);
        if (place.sectionLine) {
            if (name) {
                break;
            }
            std::optional<std::string_view> lineKey = KeyName(ini.lines[i]);
            if (!place.keyLine && lineKey && EqualsIgnoringCase(*lineKey, key)) {
                place.keyLine = i;
            }
            place.sectionEnd = i + 1;
        } else if (name && EqualsIgnoringCase(*name, section)) {
            place.sectionLine = i;
            place.sectionEnd = i + 1;
        }
    }
    return place;
}

std::string CutToBuffer(std::string text, std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return {};
    }
    text.resize(Cp932PrefixLength(text, bufferSize - 1));
    return text;
}

// The stored form of a value: values that trimming or quote removal would change on
// reading are enclosed in double quotes, which reading removes again.
std::string StoredValue(std::string_view value)
{
    bool needsQuotes = !value.empty() &&
                       (TrimBlanks(value).size() != value.size() || IsQuoted(value));
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool CanStore(const IniEntry& entry)
{
    std::string_view section = TrimBlanks(entry.section);
    std::string_view key = TrimBlanks(entry.key);
    return !section.empty() && section.find(']') == std::string_view::npos &&
           !HasLineBreak(entry.section) && !key.empty() &&
           key.find('=') == std::string_view::npos && !key.starts_with(';') &&
           !key.starts_with('[') && !HasLineBreak(entry.key) && !HasLineBreak(entry.value);
}

void SetValue(IniText& ini, const IniEntry& entry)
{
    std::string section = Cp932ToUtf8(TrimBlanks(entry.section));
    std::string key = Cp932ToUtf8(TrimBlanks(entry.key));
    std::string line = key + "=" + StoredValue(Cp932ToUtf8(entry.value));
    KeyPlace place = Locate(ini, section, key);
    if (place.keyLine) {
        ini.lines[*place.keyLine] = std::move(line);
        return;
    }
    if (!place.sectionLine) {
        ini.lines.push_back("[" + section + "]");
        ini.lines.push_back(std::move(line));
        return;
    }
    // A new key goes after the last non-blank line of its section, before the blank lines
    // that separate it from the next section.
    std::size_t insertAt = place.sectionEnd;
    while (insertAt > *place.sectionLine + 1 && TrimBlanks(ini.lines[insertAt - 1]).empty()) {
        --insertAt;
    }
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

bool Save(const std::string& path, const IniText& ini)
{
    std::string bytes;
    if (ini.bom) {
        bytes += kUtf8Bom;
    }
    for (const std::string& line : ini.lines) {
        bytes += line;
        bytes += ini.newline;
    }
    return ReplaceFileAtomically(path, bytes);
}

}  // namespace

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize)
{
    IniText ini;
    if (!path.empty() && Load(path, ini) == LoadStatus::Loaded) {
        KeyPlace place = Locate(ini, Cp932ToUtf8(TrimBlanks(section)), Cp932ToUtf8(TrimBlanks(key)));
        if (place.keyLine) {
            return CutToBuffer(Utf8ToCp932(RawValue(ini.lines[*place.keyLine])), bufferSize);
        }
    }
    return CutToBuffer(std::string(defaultValue), bufferSize);
}

bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value)
{
    IniEntry entry{section, key, value};
    return WriteIniStrings(path, std::span<const IniEntry>(&entry, 1));
}

bool WriteIniStrings(const std::string& path, std::span<const IniEntry> entries)
{
    if (path.empty()) {
        return false;
    }
    for (const IniEntry& entry : entries) {
        if (!CanStore(entry)) {
            return false;
        }
    }
    IniText ini;
    if (Load(path, ini) == LoadStatus::Unreadable) {
        return false;  // never replace a file whose content could not be kept
    }
    for (const IniEntry& entry : entries) {
        SetValue(ini, entry);
    }
    return Save(path, ini);
}

bool DeleteIniKey(const std::string& path, std::string_view section, std::string_view key)
{
    if (path.empty()) {
        return false;
    }
    IniText ini;
    switch (Load(path, ini)) {
    case LoadStatus::Missing:
        return true;
    case LoadStatus::Unreadable:
        return false;
    case LoadStatus::Loaded:
        break;
    }
    KeyPlace place = Locate(ini, Cp932ToUtf8(TrimBlanks(section)), Cp932ToUtf8(TrimBlanks(key)));
    if (!place.keyLine) {
        return true;
    }
    ini.lines.erase(ini.lines.begin() + static_cast<std::ptrdiff_t>(*place.keyLine));
    return Save(path, ini);
}

}  // namespace kl
