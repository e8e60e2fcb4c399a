#pragma once
// Recorded file pairs, section FILESET: COUNT and the entries "1" ... COUNT, each one pair
// text "DocA path - DocB path" in code page 932. An empty settings path gives the defaults;
// the writers then do nothing and return false.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kl {

// Entries are read with a buffer of 500 bytes, so a longer text would come back cut.
inline constexpr std::size_t kFileSetEntryMaxBytes = 499;
// The keys form a ring: after key 19 the next record writes key 1 again.
inline constexpr int kFileSetRingSize = 19;
// A hand-edited COUNT lists no more entries than this.
inline constexpr int kFileSetListLimit = 100;

int ReadFileSetCount(const std::string& iniPath);

// Entry number (1-based); empty when it is missing.
std::string ReadFileSetEntry(const std::string& iniPath, int number);

// Entries 1 ... COUNT (at most kFileSetListLimit), as the menu lists them.
std::vector<std::string> ReadFileSetEntries(const std::string& iniPath);

// Stores pairText as entry number and sets COUNT to number, in one replacement of the file.
bool SaveFileSetEntry(const std::string& iniPath, int number, std::string_view pairText);

enum class FileSetStore { Recorded, AlreadyRecorded, WriteFailed };

// Records pairText at the key after COUNT (key 1 once COUNT is past the ring, or negative),
// unless one of the listed entries already holds exactly that text. Reads the file as it
// is now.
FileSetStore StoreFileSet(const std::string& iniPath, std::string_view pairText);

}  // namespace kl
