#include "engine/compare/presets.h"

#include <gtest/gtest.h>

#include "engine/platform/private_profile.h"
#include "tests/support/temp_dir.h"

namespace {

using kl::CompareOptions;

// Code page 932 spellings of the name parts.
const std::string kNormal = "\x92\xca\x8f\xed";   // 通常
const std::string kPartial = "\x95\x94\x95\xaa";  // 部分
const std::string kKai = "\x89\xfc";              // 改
const std::string kTa = "\x83\x5e";               // タ
const std::string kZen = "\x91\x53";              // 全
const std::string kMatsu = "\x96\x96";            // 末

TEST(BuildPresetName, FollowsTheDigits)
{
    EXPECT_EQ(kl::BuildPresetName("00000"), kNormal + "-");
    EXPECT_EQ(kl::BuildPresetName("10101"), kPartial + "-" + kTa + kMatsu);
    EXPECT_EQ(kl::BuildPresetName("01111"), kNormal + "-" + kKai + kTa + kZen + kMatsu);
    EXPECT_EQ(kl::BuildPresetName("11"), kPartial + "-" + kKai);
    EXPECT_EQ(kl::BuildPresetName(""), kNormal + "-");
}

TEST(BuildPresetCode, WritesTheFiveSwitches)
{
    CompareOptions options;
    EXPECT_EQ(kl::BuildPresetCode(options), "00000");
    options.method = 1;
    options.ignoreSpaceTab = true;
    options.ignoreTrailingSpaces = 7;
    EXPECT_EQ(kl::BuildPresetCode(options), "10101");
    options.method = 2;  // any value but 1 is the normal comparison
    options.ignoreNewline = true;
    options.wideSpaceAsTwo = 1;
    EXPECT_EQ(kl::BuildPresetCode(options), "01111");
}

TEST(PresetItemText, JoinsNameAndCode)
{
    EXPECT_EQ(kl::PresetItemText(kNormal + "-", "00000"), kNormal + "- (00000)");
    EXPECT_EQ(kl::PresetItemText(kPartial + "-" + kTa, "10101"), kPartial + "-" + kTa + " (10101)");
    EXPECT_EQ(kl::PresetItemText("x", "101"), "x (101)");
    EXPECT_EQ(kl::PresetItemText("name", ""), "name ()");
}

struct ApplyCase {
    const char* label;
    std::string code;
    CompareOptions expected;
};

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.label; }

// Every option on, with a delimiter a preset never touches.
CompareOptions AllOn()
{
    return CompareOptions{.method = 1, .delimiter = '#', .ignoreNewline = true, .ignoreSpaceTab = true,
                          .wideSpaceAsTwo = 1, .ignoreTrailingSpaces = 1};
}

CompareOptions With(int method, bool newline, bool spaceTab, int wide, int trailing)
{
    return CompareOptions{.method = method, .delimiter = '#', .ignoreNewline = newline,
                          .ignoreSpaceTab = spaceTab, .wideSpaceAsTwo = wide,
                          .ignoreTrailingSpaces = trailing};
}

class PresetFromCodeTable : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(PresetFromCodeTable, OverwritesTheSwitchesOnly)
{
    const ApplyCase& c = GetParam();
    CompareOptions options = AllOn();
    kl::PresetFromCode(c.code, options);
    EXPECT_EQ(options.method, c.expected.method);
    EXPECT_EQ(options.delimiter, '#');
    EXPECT_EQ(options.ignoreNewline, c.expected.ignoreNewline);
    EXPECT_EQ(options.ignoreSpaceTab, c.expected.ignoreSpaceTab);
    EXPECT_EQ(options.wideSpaceAsTwo, c.expected.wideSpaceAsTwo);
    EXPECT_EQ(options.ignoreTrailingSpaces, c.expected.ignoreTrailingSpaces);
}

INSTANTIATE_TEST_SUITE_P(Cases, PresetFromCodeTable, ::testing::Values(
    ApplyCase{"all off", "00000", With(0, false, false, 0, 0)},
    ApplyCase{"10101", "10101", With(1, false, true, 0, 1)},
    ApplyCase{"nonzero digits count as on", "02090", With(0, true, false, 1, 0)},
    ApplyCase{"no code", "", AllOn()},
    ApplyCase{"one character", "0", AllOn()},
    ApplyCase{"two characters", "00", With(0, false, true, 1, 1)},
    ApplyCase{"first character not a digit", "a0000", AllOn()},
    ApplyCase{"stops at the first non-digit", "000a0", With(0, false, false, 1, 1)},
    ApplyCase{"digits after the fifth ignored", "0000000", With(0, false, false, 0, 0)},
    ApplyCase{"code ends after the digits", "000", With(0, false, false, 1, 1)}));

TEST(PresetList, StoreAndLoadRoundTrip)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    const std::vector<kl::PresetRow> rows = {
        {kl::BuildPresetName("00000"), "00000"},
        {kl::BuildPresetName("10101"), "10101"},
        {kl::BuildPresetName("01111"), "01111"},
    };
    ASSERT_TRUE(kl::StorePresetList(ini, rows));
    EXPECT_EQ(kl::ReadIniString(ini, "COMPMODE", "COUNT", "", 6), "3");
    EXPECT_EQ(kl::ReadIniString(ini, "COMPMODE", "1", "", 100), rows[1].name + ",10101");

    EXPECT_EQ(kl::LoadPresetList(ini), rows);

    // Emptying the list leaves the old keys behind, but they are no longer read.
    ASSERT_TRUE(kl::StorePresetList(ini, {}));
    EXPECT_EQ(kl::ReadIniString(ini, "COMPMODE", "COUNT", "", 6), "0");
    EXPECT_TRUE(kl::LoadPresetList(ini).empty());
}

// Two windows edit the list from the same start; the second to store keeps what the first
// stored meanwhile.
TEST(PresetList, StoringAnEditedListKeepsAnotherWindowsChanges)
{
    const auto rowsOf = [](std::vector<std::string> codes) {
        std::vector<kl::PresetRow> rows;
        for (const std::string& code : codes) rows.push_back({kl::BuildPresetName(code), code});
        return rows;
    };
    struct Case {
        const char* name;
        std::vector<std::string> storedByOther;  // the first window's list, stored meanwhile
        std::vector<std::string> edited;         // the second window's list
        std::vector<std::string> expected;
    };
    // Both windows started from 00000, 10000, 01000.
    const std::vector<Case> cases = {
        {"both add", {"00000", "10000", "01000", "00100"}, {"00000", "10000", "01000", "00010"},
         {"00000", "10000", "01000", "00010", "00100"}},
        {"other removes, this adds", {"00000", "01000"}, {"00000", "10000", "01000", "00001"},
         {"00000", "01000", "00001"}},
        {"this removes and reorders", {"00000", "10000", "01000", "11111"}, {"01000", "00000"},
         {"01000", "00000", "11111"}},
        {"no change elsewhere", {"00000", "10000", "01000"}, {"10000"}, {"10000"}},
    };
    for (const Case& c : cases) {
        kltest::TempDir dir;
        const std::string ini = dir.file("kestrilane.ini");
        const std::vector<kl::PresetRow> start = rowsOf({"00000", "10000", "01000"});
        ASSERT_TRUE(kl::StorePresetList(ini, start));
        ASSERT_TRUE(kl::StorePresetList(ini, rowsOf(c.storedByOther), &start)) << c.name;
        ASSERT_TRUE(kl::StorePresetList(ini, rowsOf(c.edited), &start)) << c.name;
        EXPECT_EQ(kl::LoadPresetList(ini), rowsOf(c.expected)) << c.name;
    }
}

TEST(PresetList, MissingFileOrSectionGivesNoItems)
{
    kltest::TempDir dir;
    EXPECT_TRUE(kl::LoadPresetList(dir.file("absent.ini")).empty());
    const std::string ini = dir.write("kestrilane.ini", "[COMPARE]\r\nMODE=1\r\n");
    EXPECT_TRUE(kl::LoadPresetList(ini).empty());
    EXPECT_TRUE(kl::LoadPresetList("").empty());
    EXPECT_FALSE(kl::StorePresetList("", {}));
}

TEST(PresetList, EntriesAreSplitAtTheFirstComma)
{
    kltest::TempDir dir;
    const std::string ini = dir.write("kestrilane.ini",
                                      "[COMPMODE]\r\nCOUNT=3\r\n0=only a name\r\n1=a,b,00011\r\n");
    // An entry without a comma is all name; a missing key gives an empty name and code.
    EXPECT_EQ(kl::LoadPresetList(ini),
              (std::vector<kl::PresetRow>{{"only a name", ""}, {"a", "b,00011"}, {"", ""}}));
}

TEST(PresetList, StoredFieldsAreCutWithoutSplittingACharacter)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    // 79 single bytes and a double-byte character would reach 81 bytes: the character goes.
    const std::string longName = std::string(79, 'n') + kZen + "tail";
    const std::string longCode = std::string(85, '1');
    ASSERT_TRUE(kl::StorePresetList(ini, {{longName, longCode}}));
    const std::string stored = kl::ReadIniString(ini, "COMPMODE", "0", "", 200);
    EXPECT_EQ(stored, std::string(79, 'n') + "," + std::string(80, '1'));
}

}  // namespace
