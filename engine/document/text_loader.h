#pragma once
// Turning a file's bytes into a line table.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "engine/document/line_table.h"

namespace kl {

// Splits bytes into lines (LF, CR or CR LF line ends; every byte kept, NUL included).
// A CR directly followed by LF is one line end; any other CR is a line end of its own.
// With eucChg, lines classified as EUC-JP are converted to Shift_JIS; length,
// contentLength and newlineKind keep the values of the bytes read.
// Throws std::length_error for a line of 2 GiB or more.
LineTable SplitLines(std::string_view data, bool eucChg);
// The same, taking over the buffer as the table's arena instead of copying it; also gives
// the LongestLineIndex of the result when longestLine is set.
LineTable SplitLinesOwned(std::string&& data, bool eucChg, int* longestLine = nullptr);

// Index of the longest line (greatest length, first on ties); 0 for an empty table.
int LongestLineIndex(const LineTable& table);

// 1 EUC-JP, 0 not EUC-JP, -1 pure ASCII.
int IsEucLine(std::string_view line);
// Converts one EUC-JP line to Shift_JIS.
std::string EucToSjis(std::string_view line);

// " [%Y/%m/%d %H:%M] N byte" with the modification time in local time.
std::string FormatFileInfo(std::time_t modified, std::uint64_t size);

}  // namespace kl
