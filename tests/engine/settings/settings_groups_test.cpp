#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/private_profile.h"
#include "engine/settings/file_set_settings.h"
#include "engine/settings/merge_settings.h"
#include "engine/settings/window_state_settings.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(MergeSettings, DefaultsWithoutFile)
{
    const kl::MergeSettings settings = kl::ReadMergeSettings("");
    EXPECT_EQ(settings.insDocA, 1);
    EXPECT_EQ(settings.insDocB, 1);
    EXPECT_EQ(settings.interactive, 0);
    EXPECT_EQ(settings.px, 50);
    EXPECT_EQ(settings.py, 50);
    const kl::MergePrefixes prefixes = kl::ReadMergePrefixes("");
    EXPECT_EQ(prefixes.docA, "!DOC_A>>>");
    EXPECT_EQ(prefixes.docB, "!DOC_B>>>");
    EXPECT_FALSE(kl::SaveMergeSettings("", settings, prefixes));
}

TEST(MergeSettings, RoundTripAndBuffers)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    const kl::MergeSettings settings{0, 1, 1, -120, 3000};
    const kl::MergePrefixes prefixes{"A> ", std::string(150, 'b')};
    ASSERT_TRUE(kl::SaveMergeSettings(path, settings, prefixes));
    const kl::MergeSettings read = kl::ReadMergeSettings(path);
    EXPECT_EQ(read.insDocA, 0);
    EXPECT_EQ(read.insDocB, 1);
    EXPECT_EQ(read.interactive, 1);
    EXPECT_EQ(read.px, -120);
    EXPECT_EQ(read.py, 3000);
    const kl::MergePrefixes readPrefixes = kl::ReadMergePrefixes(path);
    EXPECT_EQ(readPrefixes.docA, "A> ");
    EXPECT_EQ(readPrefixes.docB, std::string(119, 'b'));  // read buffer of 120
}

// Two merge dialogs opened with the same settings: the second to store keeps the key the
// first changed, since it left that key alone.
TEST(MergeSettings, StoringChangesKeepsAnotherWindowsChange)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    const kl::MergeSettings opened;
    const kl::MergePrefixes openedPrefixes;
    ASSERT_TRUE(kl::SaveMergeSettings(path, opened, openedPrefixes));

    kl::MergePrefixes first = openedPrefixes;
    first.docA = "A> ";
    ASSERT_TRUE(kl::SaveMergeSettingsChanges(path, opened, openedPrefixes, opened, first));
    kl::MergeSettings second = opened;
    second.interactive = 1;
    second.px = 7;
    ASSERT_TRUE(kl::SaveMergeSettingsChanges(path, opened, openedPrefixes, second, openedPrefixes));

    EXPECT_EQ(kl::ReadMergePrefixes(path).docA, "A> ");
    EXPECT_EQ(kl::ReadMergeSettings(path).interactive, 1);
    EXPECT_EQ(kl::ReadMergeSettings(path).px, 7);
}

struct WidthCase {
    const char* name;
    std::string stored;
    int overview, left, right;
};

TEST(SplitterWidths, ReadsThreeTenCharacterFields)
{
    const std::vector<WidthCase> cases = {
        {"default text", "000000006000000003000000000300", 60, 300, 300},
        {"right-aligned fields", "        80       412       398", 80, 412, 398},
        {"one field", "0000000080", 80, 300, 300},
        {"no number", "wide", 60, 300, 300},
        {"adjacent long digits", "123456789012", 1234567890, 12, 300},
    };
    kltest::TempDir dir;
    for (const WidthCase& c : cases) {
        const std::string path = dir.write("kestrilane.ini", "[Settings]\nunderWndWidth1=" + c.stored + "\n");
        const kl::SplitterWidths widths = kl::ReadSplitterWidths(path);
        EXPECT_EQ(widths.overview, c.overview) << c.name;
        EXPECT_EQ(widths.left, c.left) << c.name;
        EXPECT_EQ(widths.right, c.right) << c.name;
    }
    const kl::SplitterWidths defaults = kl::ReadSplitterWidths("");
    EXPECT_EQ(defaults.overview, 60);
    EXPECT_EQ(defaults.left, 300);
    EXPECT_EQ(defaults.right, 300);
}

TEST(SplitterWidths, StoredRightAlignedAndReadBack)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    ASSERT_TRUE(kl::SaveSplitterWidths(path, {80, 412, 398}));
    EXPECT_EQ(kl::ReadIniString(path, "Settings", "underWndWidth1", "", 60),
              "        80       412       398");
    const kl::SplitterWidths widths = kl::ReadSplitterWidths(path);
    EXPECT_EQ(widths.overview, 80);
    EXPECT_EQ(widths.left, 412);
    EXPECT_EQ(widths.right, 398);
    EXPECT_FALSE(kl::SaveSplitterWidths("", {}));
}

TEST(SelectedPreset, DefaultsToNoneAndRoundTrips)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    EXPECT_EQ(kl::ReadSelectedPreset(path), -1);
    ASSERT_TRUE(kl::SaveSelectedPreset(path, 2));
    EXPECT_EQ(kl::ReadSelectedPreset(path), 2);
    ASSERT_TRUE(kl::SaveSelectedPreset(path, -1));
    EXPECT_EQ(kl::ReadSelectedPreset(path), -1);
    ASSERT_TRUE(kl::SaveSelectedPreset(path, 12345));
    EXPECT_EQ(kl::ReadSelectedPreset(path), 123);  // read buffer of 4
    EXPECT_FALSE(kl::SaveSelectedPreset("", 0));
}

TEST(FileSets, EntriesAndCount)
{
    kltest::TempDir dir;
    const std::string path = dir.file("kestrilane.ini");
    EXPECT_EQ(kl::ReadFileSetCount(path), 0);
    EXPECT_EQ(kl::ReadFileSetEntry(path, 1), "");

    ASSERT_TRUE(kl::SaveFileSetEntry(path, 1, "/a/one.txt - /b/two.txt"));
    ASSERT_TRUE(kl::SaveFileSetEntry(path, 2, "/c - "));
    EXPECT_EQ(kl::ReadFileSetCount(path), 2);
    EXPECT_EQ(kl::ReadFileSetEntry(path, 1), "/a/one.txt - /b/two.txt");
    EXPECT_EQ(kl::ReadFileSetEntry(path, 2), "/c - ");

    // Recording wraps round to the first key: the count drops, later keys stay stored.
    ASSERT_TRUE(kl::SaveFileSetEntry(path, 1, "/x - /y"));
    EXPECT_EQ(kl::ReadFileSetCount(path), 1);
    EXPECT_EQ(kl::ReadFileSetEntry(path, 1), "/x - /y");
    EXPECT_EQ(kl::ReadFileSetEntry(path, 2), "/c - ");

    const std::string longPair = std::string(300, 'a') + " - " + std::string(300, 'b');
    ASSERT_TRUE(kl::SaveFileSetEntry(path, 3, longPair));
    EXPECT_EQ(kl::ReadFileSetEntry(path, 3), longPair.substr(0, 499));
    EXPECT_FALSE(kl::SaveFileSetEntry("", 1, "a - b"));
}

}  // namespace
