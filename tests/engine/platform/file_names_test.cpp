// The sequence of names tried when the destination folder already holds the file's name.
#include <gtest/gtest.h>
#include <string>

#include "engine/platform/file_names.h"

namespace {

TEST(NextFileNameTest, FollowsTheRenameRule)
{
    const struct {
        const char* name;
        const char* next;
    } cases[] = {
        {"report.txt", "report0.txt"},
        {"report0.txt", "report1.txt"},
        {"report9.txt", "report10.txt"},
        {"report19.txt", "report20.txt"},
        {"a.b.c", "a.b0.c"},
        {"a.b0.c", "a.b1.c"},
        {"notes", "notes0"},
        {"notes7", "notes8"},
        {"2024.log", "2025.log"},
        {"x007.txt", "x8.txt"},
        {"x000", "x1"},
        {"file.", "file0."},
        {"", "0"},
        {".profile", ".profile0"},
        {".profile0", ".profile1"},
        {".config.ini", ".config0.ini"},
        {"\x95\xf1\x8d\x90.txt", "\x95\xf1\x8d\x90" "0.txt"},  // 報告.txt in code page 932
        {"\xe5\xa0\xb1\xe5\x91\x8a" "9.txt", "\xe5\xa0\xb1\xe5\x91\x8a" "10.txt"},  // 報告9.txt in UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kl::NextFileName(c.name), c.next);
    }
}

TEST(NextFileNameTest, NumbersOfAnyLengthCarry)
{
    EXPECT_EQ(kl::NextFileName("log99999999999999999999999.txt"), "log100000000000000000000000.txt");
    EXPECT_EQ(kl::NextFileName("log4294967295"), "log4294967296");
}

TEST(NextFileNameTest, ThirtyRenamesFromTheOwnName)
{
    std::string name = "report.txt";
    for (int i = 0; i < 30; ++i)
        name = kl::NextFileName(name);
    EXPECT_EQ(name, "report29.txt");
}

}  // namespace
