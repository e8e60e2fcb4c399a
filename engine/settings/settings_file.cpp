#include "engine/settings/settings_file.h"

#include <climits>
#include <vector>

#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"
#include "engine/settings/filter_settings.h"

namespace kl {
namespace {

// The stored colours: key, table entry, read buffer 32.
struct ColorKey {
    const char* key;
    ColorIndex index;
};
constexpr ColorKey kColorKeys[] = {
    {"SAME", COLOR_SAME},         {"DOC1", COLOR_DOC1},         {"DOC2", COLOR_DOC2},
    {"OTHER", COLOR_OTHER},       {"LINETEXT", COLOR_LINETEXT}, {"LINEBACK", COLOR_LINEBACK},
    {"SELBACK", COLOR_SELBACK},   {"CHANGED1", COLOR_CHANGED1}, {"CHANGED2", COLOR_CHANGED2},
    {"FOUND", COLOR_FOUND},
};

int ReadDecimal(const std::string& iniPath, const char* section, const char* key,
                const char* defaultValue, std::size_t bufferSize)
{
    return AtoiText(ReadIniString(iniPath, section, key, defaultValue, bufferSize));
}

// The character at pos of a digit pair; a missing character counts as "0".
char PairChar(const std::string& pair, std::size_t pos)
{
    return pos < pair.size() ? pair[pos] : '0';
}

// FONTSIZE "size:height". Without a colon only the size is taken and the height stays at
// its default. A size of 0 with a negative height takes the character height as its size.
void ParseFontSize(std::string_view text, FontSettings& fonts)
{
    int size = 0;
    int height = -12;
    if (ScanDecimal(text, size) && text.starts_with(':')) {
        text.remove_prefix(1);
        ScanDecimal(text, height);
    }
    if (size == 0 && height < 0) {
        size = height == INT_MIN ? INT_MAX : -height;
    }
    fonts.size = size;
    fonts.height = height;
}

std::string DigitPair(int first, int second)
{
    return std::to_string(first) + std::to_string(second);
}

std::string Flag(int value)
{
    return value == 1 ? "1" : "0";
}

}  // namespace

ColorTable DefaultColorTable(ColorRef windowColor)
{
    ColorTable colors{};
    colors[COLOR_SAME] = Rgb(155, 191, 247);
    colors[COLOR_DOC1] = Rgb(241, 36, 241);
    colors[COLOR_DOC2] = Rgb(177, 160, 200);
    colors[COLOR_OTHER] = Rgb(112, 224, 148);
    colors[COLOR_LINETEXT] = Rgb(222, 228, 220);
    colors[COLOR_LINEBACK] = Rgb(116, 119, 141);
    colors[COLOR_WINDOW] = windowColor;
    colors[COLOR_SELBACK] = Rgb(238, 255, 51);
    // Light enough that the changed characters, marked in DOC1 and DOC2, stand out.
    colors[COLOR_CHANGED1] = Rgb(250, 205, 250);
    colors[COLOR_CHANGED2] = Rgb(226, 218, 238);
    // Apart from every row colour and from SELBACK, which marks the current match.
    colors[COLOR_FOUND] = Rgb(255, 170, 60);
    return colors;
}

void LoadViewSettings(const std::string& iniPath, DocSettings& doc, CompareOptions& options,
                      FontSettings& fonts)
{
    doc.fDispMes = ReadDecimal(iniPath, "FLAG", "FDISPMES", "1", 32);
    doc.fSameCol = ReadDecimal(iniPath, "FLAG", "FSAMECOL", "1", 32);
    doc.fOtherCol = ReadDecimal(iniPath, "FLAG", "FOTHERCOL", "1", 32);
    doc.fParamDo = ReadDecimal(iniPath, "FLAG", "FPARAMDO", "1", 32);
    doc.fOpenDo = ReadDecimal(iniPath, "FLAG", "FOPENDO", "1", 32);
    doc.eucChg = ReadDecimal(iniPath, "FLAG", "EUCCHG", "0", 32);
    doc.fPaired = ReadDecimal(iniPath, "FLAG", "FPAIRED", "0", 32);
    doc.fEolKind = ReadDecimal(iniPath, "FLAG", "FEOLKIND", "0", 32);
    doc.fWrap = ReadDecimal(iniPath, "FLAG", "FWRAP", "0", 32);

    options.method = ReadDecimal(iniPath, "COMPARE", "MODE", "0", 2);
    std::string delimiter = ReadIniString(iniPath, "COMPARE", "PCHAR", "\"", 2);
    options.delimiter = delimiter.empty() ? '\0' : delimiter[0];
    std::string useCheck = ReadIniString(iniPath, "COMPARE", "USECHECK", "00", 3);
    options.ignoreNewline = PairChar(useCheck, 0) != '0';
    options.ignoreSpaceTab = PairChar(useCheck, 1) != '0';
    std::string spaceCmp = ReadIniString(iniPath, "COMPARE", "SPACECMP", "00", 3);
    options.wideSpaceAsTwo = PairChar(spaceCmp, 0) - '0';
    options.ignoreTrailingSpaces = PairChar(spaceCmp, 1) - '0';
    LoadFilterSettings(iniPath, options);

    fonts.faceName1 = ReadIniString(iniPath, "VIEW", "FONTNAME", kDefaultFontName, 128);
    fonts.faceName2 = ReadIniString(iniPath, "VIEW", "FONTNAME2", kDefaultFontName, 128);
    ParseFontSize(ReadIniString(iniPath, "VIEW", "FONTSIZE", "0:-12", 64), fonts);
    fonts.charSet1 = static_cast<std::uint8_t>(ReadDecimal(iniPath, "VIEW", "CHARSET1", "1", 6));
    fonts.charSet2 = static_cast<std::uint8_t>(ReadDecimal(iniPath, "VIEW", "CHARSET2", "1", 6));
    fonts.weight1 = ReadDecimal(iniPath, "VIEW", "FWEIGHT1", "400", 6);
    fonts.weight2 = ReadDecimal(iniPath, "VIEW", "FWEIGHT2", "400", 6);
    fonts.individual = static_cast<std::uint8_t>(ReadDecimal(iniPath, "VIEW", "FONTINDIV", "0", 2));
    doc.tabSize = ReadDecimal(iniPath, "VIEW", "TABSIZE", "4", 2);
}

void LoadColorSettings(const std::string& iniPath, ColorTable& colors, std::string& leftMessage,
                       std::string& rightMessage, ColorRef windowColor)
{
    const ColorTable defaults = DefaultColorTable(windowColor);
    for (const ColorKey& color : kColorKeys) {
        colors[color.index] =
            HexText(ReadIniString(iniPath, "COLOR", color.key, FormatHex(defaults[color.index]), 32));
    }
    colors[COLOR_WINDOW] = windowColor;
    leftMessage = ReadIniString(iniPath, "MESSAGE", "LEFT", kDefaultLeftMessage, 128);
    rightMessage = ReadIniString(iniPath, "MESSAGE", "RIGHT", kDefaultRightMessage, 128);
}

bool SaveColorSettings(const std::string& iniPath, const ColorTable& colors,
                       std::string_view leftMessage, std::string_view rightMessage,
                       const DocSettings& doc)
{
    std::vector<std::string> hex;
    for (const ColorKey& color : kColorKeys) {
        hex.push_back(FormatHex(colors[color.index]));
    }
    std::vector<IniEntry> entries;
    for (std::size_t i = 0; i < std::size(kColorKeys); ++i) {
        entries.push_back({"COLOR", kColorKeys[i].key, hex[i]});
    }
    const std::string dispMes = FormatHex(static_cast<std::uint32_t>(doc.fDispMes));
    const std::string sameCol = FormatHex(static_cast<std::uint32_t>(doc.fSameCol));
    const std::string otherCol = FormatHex(static_cast<std::uint32_t>(doc.fOtherCol));
    entries.push_back({"MESSAGE", "LEFT", leftMessage});
    entries.push_back({"MESSAGE", "RIGHT", rightMessage});
    entries.push_back({"FLAG", "FDISPMES", dispMes});
    entries.push_back({"FLAG", "FSAMECOL", sameCol});
    entries.push_back({"FLAG", "FOTHERCOL", otherCol});
    return WriteIniStrings(iniPath, entries);
}

bool SaveDisplaySwitches(const std::string& iniPath, const DocSettings& doc)
{
    const std::string paired = Flag(doc.fPaired);
    const std::string eolKind = Flag(doc.fEolKind);
    const std::string wrap = Flag(doc.fWrap);
    const IniEntry entries[] = {
        {"FLAG", "FPAIRED", paired},
        {"FLAG", "FEOLKIND", eolKind},
        {"FLAG", "FWRAP", wrap},
    };
    return WriteIniStrings(iniPath, entries);
}

bool SaveEnvironmentSettings(const std::string& iniPath, const DocSettings& doc)
{
    const std::string paramDo = Flag(doc.fParamDo);
    const std::string openDo = Flag(doc.fOpenDo);
    const std::string eucChg = Flag(doc.eucChg);
    const std::string tabSize = std::to_string(doc.tabSize);
    const IniEntry entries[] = {
        {"FLAG", "FPARAMDO", paramDo},
        {"FLAG", "FOPENDO", openDo},
        {"FLAG", "EUCCHG", eucChg},
        {"VIEW", "TABSIZE", tabSize},
    };
    return WriteIniStrings(iniPath, entries);
}

bool SaveCompareSettings(const std::string& iniPath, const CompareOptions& options,
                         std::string_view delimiterText)
{
    const std::string mode = std::to_string(options.method);
    const std::string useCheck = DigitPair(options.ignoreNewline, options.ignoreSpaceTab);
    const std::string spaceCmp = DigitPair(options.wideSpaceAsTwo, options.ignoreTrailingSpaces);
    const IniEntry entries[] = {
        {"COMPARE", "MODE", mode},
        {"COMPARE", "PCHAR", delimiterText},
        {"COMPARE", "USECHECK", useCheck},
        {"COMPARE", "SPACECMP", spaceCmp},
    };
    return WriteIniStrings(iniPath, entries);
}

bool SaveFontSettings(const std::string& iniPath, const FontSettings& fonts)
{
    const std::string size = std::to_string(fonts.size) + ":" + std::to_string(fonts.height);
    const std::string charSet1 = std::to_string(fonts.charSet1);
    const std::string charSet2 = std::to_string(fonts.charSet2);
    const std::string weight1 = std::to_string(fonts.weight1);
    const std::string weight2 = std::to_string(fonts.weight2);
    const std::string individual = Flag(fonts.individual);
    const IniEntry entries[] = {
        {"VIEW", "FONTNAME", fonts.faceName1},
        {"VIEW", "FONTNAME2", fonts.faceName2},
        {"VIEW", "FONTSIZE", size},
        {"VIEW", "CHARSET1", charSet1},
        {"VIEW", "CHARSET2", charSet2},
        {"VIEW", "FWEIGHT1", weight1},
        {"VIEW", "FWEIGHT2", weight2},
        {"VIEW", "FONTINDIV", individual},
    };
    return WriteIniStrings(iniPath, entries);
}

}  // namespace kl
