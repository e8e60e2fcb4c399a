#include "ui/settings/user_profile.h"

#include <gtest/gtest.h>

#include <QString>

#include "tests/support/temp_dir.h"

namespace {

QString ProfilePath(const kltest::TempDir& dir)
{
    return QString::fromStdString(dir.file("profile.ini"));
}

TEST(UserProfile, PlacementDefaultsFollowScreenAndComboBox)
{
    struct Case {
        QSize screen;
        int comboWidth;
        int right, bottom, height;
    };
    // 1002 / 4 * 3 = 750, while 1002 * 3 / 4 would be 751.
    const Case cases[] = {
        {{1920, 1080}, 150, 1890, 810, 180},
        {{1280, 1002}, 0, 1250, 750, 30},
    };
    kltest::TempDir dir;
    const kl::UserProfile profile(ProfilePath(dir));
    for (const Case& c : cases) {
        const kl::WindowPlacement placement = profile.ReadWindowPlacement(c.screen, c.comboWidth);
        EXPECT_EQ(placement.left, 10);
        EXPECT_EQ(placement.top, 20);
        EXPECT_EQ(placement.right, c.right);
        EXPECT_EQ(placement.bottom, c.bottom);
        EXPECT_EQ(placement.showCmd, 5);
        EXPECT_EQ(placement.wide, 210);
        EXPECT_EQ(placement.height, c.height);
        EXPECT_EQ(placement.cmbLeft, 210);
    }
}

TEST(UserProfile, PlacementRoundTripsThroughTheFile)
{
    kltest::TempDir dir;
    const kl::WindowPlacement written{-5, 0, 800, 600, 3, 250, 140, 230};
    {
        kl::UserProfile profile(ProfilePath(dir));
        ASSERT_TRUE(profile.WriteWindowPlacement(written));
    }
    const kl::UserProfile reopened(ProfilePath(dir));
    const kl::WindowPlacement read = reopened.ReadWindowPlacement({1920, 1080}, 150);
    EXPECT_EQ(read.left, -5);
    EXPECT_EQ(read.top, 0);
    EXPECT_EQ(read.right, 800);
    EXPECT_EQ(read.bottom, 600);
    EXPECT_EQ(read.showCmd, 3);
    EXPECT_EQ(read.wide, 250);
    EXPECT_EQ(read.height, 140);
    EXPECT_EQ(read.cmbLeft, 230);
}

TEST(UserProfile, NonNumericPlacementValueTakesTheDefault)
{
    kltest::TempDir dir;
    dir.write("profile.ini", "[Settings]\nleft=abc\ntop=7\n");
    const kl::UserProfile profile(ProfilePath(dir));
    const kl::WindowPlacement read = profile.ReadWindowPlacement({1920, 1080}, 150);
    EXPECT_EQ(read.left, 10);
    EXPECT_EQ(read.top, 7);
}

TEST(UserProfile, RecentFilesKeepOrderAndAtMostSixteen)
{
    kltest::TempDir dir;
    kl::UserProfile profile(ProfilePath(dir));
    EXPECT_TRUE(profile.ReadRecentFiles().isEmpty());

    QStringList many;
    for (int i = 1; i <= 20; ++i) {
        many.append(QStringLiteral("/data/file %1.txt").arg(i));
    }
    ASSERT_TRUE(profile.WriteRecentFiles(many));
    EXPECT_EQ(profile.ReadRecentFiles(), many.mid(0, kl::UserProfile::kRecentFileCount));

    const QStringList few = {QStringLiteral("/b/漢字.txt"), QStringLiteral("/a.txt")};
    ASSERT_TRUE(profile.WriteRecentFiles(few));
    const kl::UserProfile reopened(ProfilePath(dir));
    EXPECT_EQ(reopened.ReadRecentFiles(), few);
}

}  // namespace
