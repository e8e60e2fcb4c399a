#pragma once
// Readers and writers of the settings file, one per group of keys. Every function takes
// the settings file's path; an empty path means the file could not be located: readers
// then give the built-in defaults and writers do nothing. Texts are code page 932 bytes.
// Writers store their whole group with one replacement of the file and return whether it
// was written.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/compare/compare_options.h"
#include "engine/settings/view_settings.h"
#include "engine/settings/default_messages.h"

namespace kl {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

// Entries of the colour table.
enum ColorIndex {
    COLOR_DOC1 = 0, COLOR_DOC2 = 1, COLOR_SAME = 2, COLOR_OTHER = 3,
    COLOR_LINETEXT = 4, COLOR_LINEBACK = 5, COLOR_WINDOW = 6, COLOR_SELBACK = 7,
    COLOR_CHANGED1 = 8, COLOR_CHANGED2 = 9,  // changed rows of the paired display, DocA and DocB
    COLOR_FOUND = 10,                        // the matches of the find bar
};
using ColorTable = std::array<ColorRef, 11>;

constexpr ColorRef Rgb(int r, int g, int b)
{
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) | (static_cast<ColorRef>(b) << 16);
}

// Built-in defaults, also restored by the colour dialog's default button.
inline constexpr std::string_view kDefaultFontName =
    "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック

// The default colour table; entry COLOR_WINDOW is windowColor.
ColorTable DefaultColorTable(ColorRef windowColor);

// FLAG, COMPARE and VIEW keys, in the order the document constructor reads them.
void LoadViewSettings(const std::string& iniPath, DocSettings& doc, CompareOptions& options,
                      FontSettings& fonts);

// COLOR keys and MESSAGE LEFT/RIGHT; entry COLOR_WINDOW becomes windowColor.
void LoadColorSettings(const std::string& iniPath, ColorTable& colors, std::string& leftMessage,
                       std::string& rightMessage, ColorRef windowColor);

// The colour dialog's keys: the stored colours, MESSAGE LEFT/RIGHT and the switches
// FDISPMES, FSAMECOL, FOTHERCOL.
bool SaveColorSettings(const std::string& iniPath, const ColorTable& colors,
                       std::string_view leftMessage, std::string_view rightMessage,
                       const DocSettings& doc);

// The display switches of the 表示 menu: FPAIRED, FEOLKIND and FWRAP (1 or 0).
bool SaveDisplaySwitches(const std::string& iniPath, const DocSettings& doc);

// The environment dialog's keys: FPARAMDO, FOPENDO, EUCCHG (1 when the switch is 1, else 0)
// and TABSIZE.
bool SaveEnvironmentSettings(const std::string& iniPath, const DocSettings& doc);

// The compare-method dialog's keys. delimiterText is the delimiter field as typed; its first
// byte is what the next start reads as the delimiter.
bool SaveCompareSettings(const std::string& iniPath, const CompareOptions& options,
                         std::string_view delimiterText);

// The font dialog's keys; FONTSIZE is stored as "size:height" of the values given.
bool SaveFontSettings(const std::string& iniPath, const FontSettings& fonts);

}  // namespace kl
