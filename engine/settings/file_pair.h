#pragma once
// A recorded file pair as the settings file holds it: DocA's path, " - ", DocB's path, in
// code page 932. File names are bytes in the system's file-name encoding, UTF-8 here; a
// name is stored only when it reads back byte for byte.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kl {

inline constexpr std::string_view kPairSeparator = " - ";

struct FilePair {
    std::string docA;
    std::string docB;
};

// The stored form of a file name, or nothing when the settings file cannot hold it: a line
// break or NUL, bytes that are not UTF-8, or a character without a code page 932 code that
// converts back to it.
std::optional<std::string> FileNameToSettingsText(std::string_view fileName);
// The file name a stored text stands for.
std::string SettingsTextToFileName(std::string_view text);

enum class PairTextStatus { Ok, DocAUnstorable, DocBUnstorable, TooLong };

// Builds the stored pair text of two file names into text (left empty unless Ok). TooLong:
// the text would not fit the entry's read buffer.
PairTextStatus MakePairText(std::string_view docA, std::string_view docB, std::string& text);

// Splits a pair text (as file names) whose paths may hold " - " themselves: at the first
// separator, left to right, where both parts are existing files; when there is none, at the
// first separator. Without a separator DocA's path is empty.
FilePair SplitPairText(std::string_view text, const std::function<bool(const std::string&)>& isFile);

}  // namespace kl
