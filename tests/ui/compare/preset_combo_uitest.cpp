#include "ui/compare/preset_combo.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include "engine/compare/presets.h"
#include "engine/platform/cp932.h"
#include "engine/platform/private_profile.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(PresetCombo, FillDecodesJapaneseNamesAndKeepsTheBytes)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    const std::string partial = kl::Utf8ToCp932("部分-タ末");
    const std::string custom = kl::Utf8ToCp932("社内ログ用");
    ASSERT_TRUE(kl::StorePresetList(ini, {{partial, "10101"}, {custom, "01000"}}));

    QComboBox combo;
    combo.addItem(QStringLiteral("stale"));
    FillPresetCombo(combo, ini);

    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), QStringLiteral(u"部分-タ末 (10101)"));
    EXPECT_EQ(combo.itemText(1), QStringLiteral(u"社内ログ用 (01000)"));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(PresetComboItemBytes(combo, 0), partial + " (10101)");
    EXPECT_EQ(PresetComboItemBytes(combo, 1), custom + " (01000)");

    // The bytes are what applying a preset reads.
    kl::CompareOptions options;
    kl::ApplyPresetText(PresetComboItemBytes(combo, 0), options);
    EXPECT_EQ(options.method, 1);
    EXPECT_TRUE(options.ignoreSpaceTab);
    EXPECT_EQ(options.ignoreTrailingSpaces, 1);
}

TEST(PresetCombo, UndecodableBytesSurviveTheRoundTrip)
{
    // A name cut inside a character by hand leaves a lone lead byte; the item shows a
    // replacement character but still hands back the stored bytes.
    const std::string item = std::string("ab\x82") + " (00100)";
    QComboBox combo;
    SetPresetComboItems(combo, {item});
    EXPECT_TRUE(combo.itemText(0).contains(QChar(0xFFFD)));
    EXPECT_EQ(PresetComboItemBytes(combo, 0), item);
}

TEST(PresetCombo, EmptyOrMissingListClearsTheCombo)
{
    kltest::TempDir dir;
    QComboBox combo;
    combo.addItems({QStringLiteral("a"), QStringLiteral("b")});
    FillPresetCombo(combo, dir.file("missing.ini"));
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(PresetComboItemBytes(combo, 0), "");
    EXPECT_EQ(PresetComboItemBytes(combo, -1), "");
}

}  // namespace
