#pragma once
// Turning a file's bytes into a text of lines.
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "engine/document/arrival_scan.h"
#include "engine/document/text.h"

namespace kl {

// How a file's bytes are to be read: as they say (Auto), or as the user chose. Shift_JIS
// reads code page 932 without the EUC-JP conversion, EucJp with it.
enum class EncodingChoice { Auto, ShiftJis, Utf8, EucJp };

// Splits bytes into lines (LF, CR or CR LF line ends; every byte kept, NUL included).
// A CR directly followed by LF is one line end; any other CR is a line end of its own.
// The encoding is taken from the bytes (see DetectEncoding): UTF-8 is kept as it is, UTF-16
// is held as UTF-8 (marked converted), anything else is code page 932. With eucChg, lines
// of a code page 932 text classified as EUC-JP are converted to Shift_JIS; LineLength and
// the longest line keep the values of the bytes read.
// Throws std::length_error for a line of 2 GiB or more.
Text SplitLines(std::string_view data, bool eucChg, EncodingChoice choice = EncodingChoice::Auto);
// The same, taking over the first size bytes of storage as the text's storage; scanned
// (when given) is what a reading found of those bytes, and its line starts may be taken.
Text SplitLinesOwned(std::unique_ptr<char[]> storage, std::size_t size, bool eucChg,
                     EncodingChoice choice = EncodingChoice::Auto, ScannedBytes* scanned = nullptr);

// A code page 932 text as UTF-8, line by line, marked converted unless no byte changed
// (an ASCII text); the read lengths stay those of the file. Used when the other text of a pair is UTF-8, so that equal content
// compares equal.
Text ConvertedToUtf8(const Text& cp932);

// Index of the longest line (greatest read length, first on ties); 0 for an empty text.
int LongestLineIndex(const Text& text);

// 1 EUC-JP, 0 not EUC-JP, -1 pure ASCII.
int IsEucLine(std::string_view line);
// Converts one EUC-JP line to Shift_JIS.
std::string EucToSjis(std::string_view line);

// " [%Y/%m/%d %H:%M] N byte" with the modification time in local time.
std::string FormatFileInfo(std::time_t modified, std::uint64_t size);

}  // namespace kl
