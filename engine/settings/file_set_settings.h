#pragma once
// Recorded file pairs, section FILESET: COUNT and the entries "1" ... COUNT, each one pair
// text "DocA path - DocB path" in code page 932. An empty settings path gives the defaults;
// the writer then does nothing and returns false.
#include <string>
#include <string_view>

namespace kl {

int ReadFileSetCount(const std::string& iniPath);

// Entry number (1-based); empty when it is missing.
std::string ReadFileSetEntry(const std::string& iniPath, int number);

// Stores pairText as entry number and sets COUNT to number, in one replacement of the file.
bool SaveFileSetEntry(const std::string& iniPath, int number, std::string_view pairText);

}  // namespace kl
