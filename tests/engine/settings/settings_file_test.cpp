#include "engine/settings/settings_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/platform/cp932.h"
#include "tests/support/temp_dir.h"

namespace {

struct ViewValues {
    kl::DocSettings doc;
    kl::CompareOptions options;
    kl::FontSettings fonts;
};

// Starts from values unlike every default, so that a key the reader skips shows up.
ViewValues Scrambled()
{
    ViewValues v;
    v.doc = {7, 7, 7, 7, 7, 7, 7};
    v.options = {7, 'x', true, true, 7, 7};
    v.fonts = {7, 7, "face", "face", 7, 7, 7, 7, 7};
    return v;
}

ViewValues LoadView(const std::string& iniPath)
{
    ViewValues v = Scrambled();
    kl::LoadViewSettings(iniPath, v.doc, v.options, v.fonts);
    return v;
}

void ExpectDefaultView(const ViewValues& v)
{
    EXPECT_EQ(v.doc.fDispMes, 1);
    EXPECT_EQ(v.doc.fSameCol, 1);
    EXPECT_EQ(v.doc.fOtherCol, 1);
    EXPECT_EQ(v.doc.fParamDo, 1);
    EXPECT_EQ(v.doc.fOpenDo, 1);
    EXPECT_EQ(v.doc.eucChg, 0);
    EXPECT_EQ(v.doc.tabSize, 4);
    EXPECT_EQ(v.options.method, 0);
    EXPECT_EQ(v.options.delimiter, '"');
    EXPECT_FALSE(v.options.ignoreNewline);
    EXPECT_FALSE(v.options.ignoreSpaceTab);
    EXPECT_EQ(v.options.wideSpaceAsTwo, 0);
    EXPECT_EQ(v.options.ignoreTrailingSpaces, 0);
    EXPECT_EQ(kl::Cp932ToUtf8(v.fonts.faceName1), "ＭＳ ゴシック");
    EXPECT_EQ(v.fonts.faceName2, v.fonts.faceName1);
    EXPECT_EQ(v.fonts.size, 12);
    EXPECT_EQ(v.fonts.height, -12);
    EXPECT_EQ(v.fonts.charSet1, 1);
    EXPECT_EQ(v.fonts.charSet2, 1);
    EXPECT_EQ(v.fonts.weight1, 400);
    EXPECT_EQ(v.fonts.weight2, 400);
    EXPECT_EQ(v.fonts.individual, 0);
}

TEST(LoadViewSettings, NoFileGivesTheDefaults)
{
    kltest::TempDir dir;
    ExpectDefaultView(LoadView(dir.file("kestrilane.ini")));
    ExpectDefaultView(LoadView(""));
}

struct ViewCase {
    const char* name;
    std::string file;
    std::function<void(const ViewValues&)> check;
};

TEST(LoadViewSettings, ReadsEachKeyWithItsFormatAndBuffer)
{
    const std::vector<ViewCase> cases = {
        {"TABSIZE reads one digit", "[VIEW]\nTABSIZE=12\n",
         [](const ViewValues& v) { EXPECT_EQ(v.doc.tabSize, 1); }},
        {"FONTSIZE 0:-12", "[VIEW]\nFONTSIZE=0:-12\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.fonts.size, 12);
             EXPECT_EQ(v.fonts.height, -12);
         }},
        {"FONTSIZE 0:-16 takes the size from the height", "[VIEW]\nFONTSIZE=0:-16\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.fonts.size, 16);
             EXPECT_EQ(v.fonts.height, -16);
         }},
        {"FONTSIZE 10:15", "[VIEW]\nFONTSIZE=10:15\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.fonts.size, 10);
             EXPECT_EQ(v.fonts.height, 15);
         }},
        {"FONTSIZE without a colon", "[VIEW]\nFONTSIZE=7\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.fonts.size, 7);
             EXPECT_EQ(v.fonts.height, -12);
         }},
        {"FONTSIZE garbage", "[VIEW]\nFONTSIZE=big\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.fonts.size, 12);
             EXPECT_EQ(v.fonts.height, -12);
         }},
        {"USECHECK 10", "[COMPARE]\nUSECHECK=10\n",
         [](const ViewValues& v) {
             EXPECT_TRUE(v.options.ignoreNewline);
             EXPECT_FALSE(v.options.ignoreSpaceTab);
         }},
        {"USECHECK 01", "[COMPARE]\nUSECHECK=01\n",
         [](const ViewValues& v) {
             EXPECT_FALSE(v.options.ignoreNewline);
             EXPECT_TRUE(v.options.ignoreSpaceTab);
         }},
        {"USECHECK one character", "[COMPARE]\nUSECHECK=1\n",
         [](const ViewValues& v) {
             EXPECT_TRUE(v.options.ignoreNewline);
             EXPECT_FALSE(v.options.ignoreSpaceTab);
         }},
        {"USECHECK empty", "[COMPARE]\nUSECHECK=\n",
         [](const ViewValues& v) {
             EXPECT_FALSE(v.options.ignoreNewline);
             EXPECT_FALSE(v.options.ignoreSpaceTab);
         }},
        {"SPACECMP digits are values", "[COMPARE]\nSPACECMP=12\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.options.wideSpaceAsTwo, 1);
             EXPECT_EQ(v.options.ignoreTrailingSpaces, 2);
         }},
        {"SPACECMP one character", "[COMPARE]\nSPACECMP=3\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.options.wideSpaceAsTwo, 3);
             EXPECT_EQ(v.options.ignoreTrailingSpaces, 0);
         }},
        {"PCHAR uses the first byte", "[COMPARE]\nPCHAR=ab\n",
         [](const ViewValues& v) { EXPECT_EQ(v.options.delimiter, 'a'); }},
        {"PCHAR empty gives byte 0", "[COMPARE]\nPCHAR=\n",
         [](const ViewValues& v) { EXPECT_EQ(v.options.delimiter, '\0'); }},
        {"MODE reads one character", "[COMPARE]\nMODE=10\n",
         [](const ViewValues& v) { EXPECT_EQ(v.options.method, 1); }},
        {"FLAG keys", "[FLAG]\nFDISPMES=0\nFSAMECOL=0\nFOTHERCOL=0\nFPARAMDO=0\nFOPENDO=0\nEUCCHG=1\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.doc.fDispMes, 0);
             EXPECT_EQ(v.doc.fSameCol, 0);
             EXPECT_EQ(v.doc.fOtherCol, 0);
             EXPECT_EQ(v.doc.fParamDo, 0);
             EXPECT_EQ(v.doc.fOpenDo, 0);
             EXPECT_EQ(v.doc.eucChg, 1);
         }},
        {"font keys", "[view]\nfontname=Sans\nFONTNAME2=Mono\nCHARSET1=128\nCHARSET2=0\n"
                      "FWEIGHT1=700\nFWEIGHT2=100\nFONTINDIV=1\n",
         [](const ViewValues& v) {
             EXPECT_EQ(v.fonts.faceName1, "Sans");
             EXPECT_EQ(v.fonts.faceName2, "Mono");
             EXPECT_EQ(v.fonts.charSet1, 128);
             EXPECT_EQ(v.fonts.charSet2, 0);
             EXPECT_EQ(v.fonts.weight1, 700);
             EXPECT_EQ(v.fonts.weight2, 100);
             EXPECT_EQ(v.fonts.individual, 1);
         }},
        {"FWEIGHT1 cut to five characters", "[VIEW]\nFWEIGHT1=1234567\n",
         [](const ViewValues& v) { EXPECT_EQ(v.fonts.weight1, 12345); }},
        {"FONTNAME cut to 127 bytes", "[VIEW]\nFONTNAME=" + std::string(200, 'f') + "\n",
         [](const ViewValues& v) { EXPECT_EQ(v.fonts.faceName1, std::string(127, 'f')); }},
    };
    kltest::TempDir dir;
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(LoadView(dir.write("kestrilane.ini", c.file)));
    }
}

constexpr kl::ColorRef kWindow = 0x00ffffff;

TEST(LoadColorSettings, NoFileGivesTheDefaults)
{
    kl::ColorTable colors{};
    std::string left = "x", right = "x";
    kl::LoadColorSettings("", colors, left, right, kWindow);
    EXPECT_EQ(colors, kl::DefaultColorTable(kWindow));
    EXPECT_EQ(colors[kl::COLOR_SAME], 0xf7bf9bu);
    EXPECT_EQ(colors[kl::COLOR_DOC1], 0xf124f1u);
    EXPECT_EQ(colors[kl::COLOR_DOC2], 0xc8a0b1u);
    EXPECT_EQ(colors[kl::COLOR_OTHER], 0x94e070u);
    EXPECT_EQ(colors[kl::COLOR_LINETEXT], 0xdce4deu);
    EXPECT_EQ(colors[kl::COLOR_LINEBACK], 0x8d7774u);
    EXPECT_EQ(colors[kl::COLOR_WINDOW], kWindow);
    EXPECT_EQ(colors[kl::COLOR_SELBACK], 0x33ffeeu);
    EXPECT_EQ(kl::Cp932ToUtf8(left), "相違行 >>");
    EXPECT_EQ(kl::Cp932ToUtf8(right), "<< 相違行");
}

TEST(LoadColorSettings, ReadsHexColoursAndMessages)
{
    kltest::TempDir dir;
    const std::string path = dir.write(
        "kestrilane.ini",
        "[COLOR]\nSAME=ff\nDOC1=0x10\nDOC2=zz\nOTHER=ABCDEF\nSELBACK=1\n"
        "[MESSAGE]\nLEFT=\xe5\xb7\xa6\nRIGHT=" + std::string(300, 'r') + "\n");
    kl::ColorTable colors{};
    std::string left, right;
    kl::LoadColorSettings(path, colors, left, right, 0x123456);
    EXPECT_EQ(colors[kl::COLOR_SAME], 0xffu);
    EXPECT_EQ(colors[kl::COLOR_DOC1], 0x10u);
    EXPECT_EQ(colors[kl::COLOR_DOC2], 0u);
    EXPECT_EQ(colors[kl::COLOR_OTHER], 0xabcdefu);
    EXPECT_EQ(colors[kl::COLOR_LINETEXT], 0xdce4deu);
    EXPECT_EQ(colors[kl::COLOR_WINDOW], 0x123456u);
    EXPECT_EQ(colors[kl::COLOR_SELBACK], 1u);
    EXPECT_EQ(left, "\x8d\xb6");  // 左
    EXPECT_EQ(right, std::string(127, 'r'));
}

TEST(SaveColorSettings, RoundTrip)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    kl::ColorTable colors{};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        colors[i] = 0x010203u * static_cast<kl::ColorRef>(i + 1);
    }
    kl::DocSettings doc;
    doc.fDispMes = 0;
    doc.fSameCol = 1;
    doc.fOtherCol = 0;
    const std::string left = " \x8d\xb6 ";
    ASSERT_TRUE(kl::SaveColorSettings(path, colors, left, "R", doc));

    kl::ColorTable read{};
    std::string readLeft, readRight;
    kl::LoadColorSettings(path, read, readLeft, readRight, 0xabcdef);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        EXPECT_EQ(read[i], i == kl::COLOR_WINDOW ? 0xabcdefu : colors[i]) << i;
    }
    EXPECT_EQ(readLeft, left);
    EXPECT_EQ(readRight, "R");
    ViewValues v = LoadView(path);
    EXPECT_EQ(v.doc.fDispMes, 0);
    EXPECT_EQ(v.doc.fSameCol, 1);
    EXPECT_EQ(v.doc.fOtherCol, 0);
    EXPECT_NE(kltest::ReadFileBytes(path).find("SAME=30609\n"), std::string::npos);
}

TEST(SaveEnvironmentSettings, StoresSwitchesAsOneOrZeroAndTheTabSize)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    kl::DocSettings doc;
    doc.fParamDo = 0;
    doc.fOpenDo = 2;  // only 1 counts as on
    doc.eucChg = 1;
    doc.tabSize = 8;
    ASSERT_TRUE(kl::SaveEnvironmentSettings(path, doc));
    ViewValues v = LoadView(path);
    EXPECT_EQ(v.doc.fParamDo, 0);
    EXPECT_EQ(v.doc.fOpenDo, 0);
    EXPECT_EQ(v.doc.eucChg, 1);
    EXPECT_EQ(v.doc.tabSize, 8);
}

TEST(SaveCompareSettings, RoundTrip)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    const kl::CompareOptions options{1, ',', false, true, 1, 0};
    ASSERT_TRUE(kl::SaveCompareSettings(path, options, ",;"));
    ViewValues v = LoadView(path);
    EXPECT_EQ(v.options.method, 1);
    EXPECT_EQ(v.options.delimiter, ',');
    EXPECT_FALSE(v.options.ignoreNewline);
    EXPECT_TRUE(v.options.ignoreSpaceTab);
    EXPECT_EQ(v.options.wideSpaceAsTwo, 1);
    EXPECT_EQ(v.options.ignoreTrailingSpaces, 0);

    ASSERT_TRUE(kl::SaveCompareSettings(path, options, ""));
    EXPECT_EQ(LoadView(path).options.delimiter, '\0');
    ASSERT_TRUE(kl::SaveCompareSettings(path, options, " "));
    EXPECT_EQ(LoadView(path).options.delimiter, ' ');
}

TEST(SaveFontSettings, RoundTrip)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    kl::FontSettings fonts;
    fonts.size = 10;
    fonts.height = 15;
    fonts.faceName1 = std::string(kl::kDefaultFontName);
    fonts.faceName2 = "DejaVu Sans Mono";
    fonts.charSet1 = 128;
    fonts.charSet2 = 0;
    fonts.weight1 = 700;
    fonts.weight2 = 400;
    fonts.individual = 1;
    ASSERT_TRUE(kl::SaveFontSettings(path, fonts));
    ViewValues v = LoadView(path);
    EXPECT_EQ(v.fonts.size, 10);
    EXPECT_EQ(v.fonts.height, 15);
    EXPECT_EQ(v.fonts.faceName1, fonts.faceName1);
    EXPECT_EQ(v.fonts.faceName2, fonts.faceName2);
    EXPECT_EQ(v.fonts.charSet1, 128);
    EXPECT_EQ(v.fonts.charSet2, 0);
    EXPECT_EQ(v.fonts.weight1, 700);
    EXPECT_EQ(v.fonts.weight2, 400);
    EXPECT_EQ(v.fonts.individual, 1);
    EXPECT_NE(kltest::ReadFileBytes(path).find("FONTSIZE=10:15\n"), std::string::npos);
}

TEST(SettingsWriters, EmptyPathWritesNothing)
{
    EXPECT_FALSE(kl::SaveColorSettings("", kl::DefaultColorTable(0), "l", "r", {}));
    EXPECT_FALSE(kl::SaveEnvironmentSettings("", {}));
    EXPECT_FALSE(kl::SaveCompareSettings("", {}, "\""));
    EXPECT_FALSE(kl::SaveFontSettings("", {}));
}

}  // namespace
