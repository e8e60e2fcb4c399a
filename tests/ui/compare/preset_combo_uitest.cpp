#include "ui/compare/preset_combo.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include "engine/compare/presets.h"
#include "engine/platform/cp932.h"
#include "engine/platform/private_profile.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(PresetCombo, FillDecodesJapaneseNamesAndKeepsTheCodes)
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
    EXPECT_EQ(PresetComboCode(combo, 0), "10101");
    EXPECT_EQ(PresetComboCode(combo, 1), "01000");
    EXPECT_EQ(combo.itemData(0, Qt::UserRole).toString(), QStringLiteral("10101"));

    // The code is what applying a preset reads.
    kl::CompareOptions options;
    kl::PresetFromCode(PresetComboCode(combo, 0), options);
    EXPECT_EQ(options.method, 1);
    EXPECT_TRUE(options.ignoreSpaceTab);
    EXPECT_EQ(options.ignoreTrailingSpaces, 1);
}

TEST(PresetCombo, UndecodableBytesSurviveTheRoundTrip)
{
    // A name or code cut inside a character by hand leaves a lone lead byte; the item shows
    // a replacement character but still hands back the stored code.
    const std::string code = std::string("001") + "\x82";
    QComboBox combo;
    SetPresetComboItems(combo, {{std::string("ab\x82"), "00100"}, {"n", code}});
    EXPECT_TRUE(combo.itemText(0).contains(QChar(0xFFFD)));
    EXPECT_EQ(PresetComboCode(combo, 0), "00100");
    EXPECT_TRUE(combo.itemText(1).contains(QChar(0xFFFD)));
    EXPECT_EQ(PresetComboCode(combo, 1), code);
}

TEST(PresetCombo, TheCodeComesFromTheItemDataNotTheText)
{
    // A name that itself holds " (" and digits does not change the code.
    QComboBox combo;
    SetPresetComboItems(combo, {{"a (11111)", "00000"}, {"b (1", ""}});
    EXPECT_EQ(combo.itemText(0), QStringLiteral("a (11111) (00000)"));
    EXPECT_EQ(PresetComboCode(combo, 0), "00000");
    EXPECT_EQ(PresetComboCode(combo, 1), "");
}

TEST(PresetCombo, EmptyOrMissingListClearsTheCombo)
{
    kltest::TempDir dir;
    QComboBox combo;
    combo.addItems({QStringLiteral("a"), QStringLiteral("b")});
    FillPresetCombo(combo, dir.file("missing.ini"));
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(PresetComboCode(combo, 0), "");
    EXPECT_EQ(PresetComboCode(combo, -1), "");
}

}  // namespace
