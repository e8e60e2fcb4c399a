#pragma once
// Readers and writers of the settings file, one per group of keys. Every function takes
// the settings file's path; an empty path means the file could not be located: readers
// then give the built-in defaults and writers do nothing. Texts are code page 932 bytes.
#include <array>
#include <cstdint>
#include <string>

#include "compare/compare_options.h"
#include "settings/view_settings.h"

namespace kl {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

// Entries of the colour table.
enum ColorIndex {
    COLOR_DOC1 = 0, COLOR_DOC2 = 1, COLOR_SAME = 2, COLOR_OTHER = 3,
    COLOR_LINETEXT = 4, COLOR_LINEBACK = 5, COLOR_WINDOW = 6, COLOR_SELBACK = 7,
};
using ColorTable = std::array<ColorRef, 8>;

constexpr ColorRef Rgb(int r, int g, int b)
{
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) | (static_cast<ColorRef>(b) << 16);
}

// FLAG, COMPARE and VIEW keys, in the order the document constructor reads them.
void LoadViewSettings(const std::string& iniPath, DocSettings& doc, CompareOptions& options,
                      FontSettings& fonts);

// COLOR keys and MESSAGE LEFT/RIGHT; entry COLOR_WINDOW becomes windowColor.
void LoadColorSettings(const std::string& iniPath, ColorTable& colors, std::string& leftMessage,
                       std::string& rightMessage, ColorRef windowColor);

}  // namespace kl
