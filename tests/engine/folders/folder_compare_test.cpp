// Folder comparison: states of every kind of entry, the filters, safety against links,
// special files and bad names, and agreement with a plain reference on random trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "engine/folders/file_pair_compare.h"
#include "engine/folders/folder_compare.h"
#include "engine/platform/utf8_path.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_scale.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using kl::EntryState;

class FolderCompareTest : public ::testing::Test {
protected:
    std::string A() const { return dir_.file("a"); }
    std::string B() const { return dir_.file("b"); }
    void SetUp() override
    {
        fs::create_directories(kl::PathFromUtf8(A()));
        fs::create_directories(kl::PathFromUtf8(B()));
    }
    void Put(const std::string& side, const std::string& relative, const std::string& bytes)
    {
        const fs::path path = kl::PathFromUtf8(dir_.file(side + "/" + relative));
        fs::create_directories(path.parent_path());
        dir_.write(side + "/" + relative, bytes);
    }
    // State of every entry by relative path.
    std::map<std::string, EntryState> States(const kl::FolderCompareRequest& request = {})
    {
        tree_ = kl::CompareFolders(A(), B(), request);
        std::map<std::string, EntryState> states;
        for (std::size_t i = 1; i < tree_.entries.size(); ++i)
            states[kl::RelativePath(tree_, static_cast<int>(i))] = tree_.entries[i].state;
        return states;
    }

    kltest::TempDir dir_;
    kl::FolderTree tree_;
};

TEST_F(FolderCompareTest, EveryFileStateAndFolderCounts)
{
    Put("a", "same.txt", "x\n");
    Put("b", "same.txt", "x\n");
    Put("a", "diff.txt", "x\n");
    Put("b", "diff.txt", "y\n");
    Put("a", "longer.txt", "x\n");
    Put("b", "longer.txt", "x\nmore\n");
    Put("a", "only-a.txt", "a");
    Put("b", "only-b.txt", "b");
    Put("a", "bin.dat", std::string("a\0b", 3));
    Put("b", "bin.dat", std::string("a\0c", 3));
    Put("a", "sub/deep/d.txt", "1");
    Put("b", "sub/deep/d.txt", "2");
    Put("a", "kind", "file");
    fs::create_directory(kl::PathFromUtf8(B() + "/kind"));
    const auto states = States();
    EXPECT_EQ(states.at("same.txt"), EntryState::Same);
    EXPECT_EQ(states.at("diff.txt"), EntryState::Different);
    EXPECT_EQ(states.at("longer.txt"), EntryState::Different);
    EXPECT_EQ(states.at("only-a.txt"), EntryState::OnlyA);
    EXPECT_EQ(states.at("only-b.txt"), EntryState::OnlyB);
    EXPECT_EQ(states.at("bin.dat"), EntryState::BinaryDifferent);
    EXPECT_EQ(states.at("kind"), EntryState::KindDifferent);
    EXPECT_EQ(states.at("sub"), EntryState::Different);
    EXPECT_EQ(states.at("sub/deep"), EntryState::Different);
    const kl::StateCounts& totals = kl::Totals(tree_);
    EXPECT_EQ(totals[static_cast<int>(EntryState::Same)], 1);
    EXPECT_EQ(totals[static_cast<int>(EntryState::Different)], 3);
    EXPECT_EQ(kl::DifferenceCount(totals), 7);
    EXPECT_EQ(tree_.entries.front().state, EntryState::Different);
    const int deep = kl::FindEntry(tree_, "sub/deep/d.txt");
    ASSERT_GT(deep, 0);
    EXPECT_EQ(kl::RelativePath(tree_, deep), "sub/deep/d.txt");
    EXPECT_EQ(kl::FindEntry(tree_, "sub/none"), -1);
}

TEST_F(FolderCompareTest, TextComparisonNamesLineEndAndSpaceDifferences)
{
    Put("a", "crlf.txt", "x\r\ny\r\n");
    Put("b", "crlf.txt", "x\ny\n");
    Put("a", "space.txt", "x  y\n");
    Put("b", "space.txt", "xy\n");
    Put("a", "real.txt", "x\n");
    Put("b", "real.txt", "z\n");
    // The same Japanese text in Shift_JIS and in UTF-8 is equal as text.
    Put("a", "enc.txt", "\x93\xfa\x96\x7b\r\n");
    Put("b", "enc.txt", "\xe6\x97\xa5\xe6\x9c\xac\n");
    EXPECT_EQ(States().at("crlf.txt"), EntryState::Different);
    kl::FolderCompareRequest request;
    request.compareAsText = true;
    request.options.ignoreSpaceTab = true;
    const auto states = States(request);
    EXPECT_EQ(states.at("crlf.txt"), EntryState::NewlineOnly);
    EXPECT_EQ(states.at("space.txt"), EntryState::EqualUnderOptions);
    EXPECT_EQ(states.at("real.txt"), EntryState::Different);
    EXPECT_EQ(states.at("enc.txt"), EntryState::NewlineOnly);
}

TEST_F(FolderCompareTest, FiltersLeaveOutNamesButStillEnterFolders)
{
    Put("a", "keep.txt", "1");
    Put("a", "skip.md", "1");
    Put("a", "x.bak", "1");
    Put("a", ".hidden.txt", "1");
    Put("a", "node_modules/m.txt", "1");
    Put("a", "docs/inner.txt", "1");
    kl::FolderCompareRequest request;
    request.filter.include = kl::SplitPatterns(" *.txt ; ");
    request.filter.exclude = kl::SplitPatterns("node_modules;*.bak");
    request.filter.includeHidden = false;
    const auto states = States(request);
    EXPECT_EQ(states.count("keep.txt"), 1u);
    EXPECT_EQ(states.count("docs/inner.txt"), 1u);
    EXPECT_EQ(states.count("skip.md"), 0u);
    EXPECT_EQ(states.count("x.bak"), 0u);
    EXPECT_EQ(states.count(".hidden.txt"), 0u);
    EXPECT_EQ(states.count("node_modules"), 0u);
}

TEST(NamePatterns, MatchLikeTheShell)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"a.txt", "*.txt", true},      {"a.txt.bak", "*.txt", false}, {"abc", "a?c", true},
        {"ac", "a?c", false},          {"日本.txt", "??.txt", true},  {"x", "*", true},
        {"", "*", true},               {"ab", "*b*", true},           {"aXbXc", "a*b*c", true},
        {"abcd", "a*c", false},        {".git", ".git", true},        {"A.TXT", "*.txt", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kl::MatchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(FileDescriptions, NameEncodingAndLineEnds)
{
    EXPECT_EQ(kl::DescribeFileHead("a\r\nb\r\n", true), "ASCII CRLF");
    EXPECT_EQ(kl::DescribeFileHead("\xe6\x97\xa5\n", true), "UTF-8 LF");
    EXPECT_EQ(kl::DescribeFileHead("\x93\xfa\r\n\x96\x7b\n", true), "Shift_JIS 混在");
    EXPECT_EQ(kl::DescribeFileHead(std::string("a\0", 2), true), "バイナリ");
    // A UTF-8 character cut by the end of the head is forgiven.
    EXPECT_EQ(kl::DescribeFileHead("\xe6\x97\xa5\n\xe6\x97", false), "UTF-8 LF");
}

#if !defined(_WIN32)
TEST_F(FolderCompareTest, LinksAreNotFollowedAndSpecialFilesNeverOpened)
{
    Put("a", "sub/f.txt", "1");
    Put("b", "sub/f.txt", "1");
    fs::create_directory_symlink("..", kl::PathFromUtf8(A() + "/sub/loop"));
    fs::create_directory_symlink("..", kl::PathFromUtf8(B() + "/sub/loop"));
    fs::create_directory_symlink("/", kl::PathFromUtf8(A() + "/other"));
    fs::create_directory_symlink("/tmp", kl::PathFromUtf8(B() + "/other"));
    // A pipe without a writer would hang any reader.
    ASSERT_EQ(::mkfifo((A() + "/pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((B() + "/pipe").c_str(), 0600), 0);
    const auto states = States();
    EXPECT_EQ(states.at("sub/loop"), EntryState::Same);
    EXPECT_EQ(states.at("other"), EntryState::Different);
    EXPECT_EQ(states.at("pipe"), EntryState::Special);
    EXPECT_EQ(states.size(), 5u);
}

TEST_F(FolderCompareTest, UnreadableEntriesShowTheirErrorAndTheRunGoesOn)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    Put("a", "locked.txt", "1");
    Put("b", "locked.txt", "1");
    Put("a", "closed/f.txt", "1");
    Put("b", "closed/f.txt", "1");
    Put("a", "fine.txt", "1");
    Put("b", "fine.txt", "1");
    ::chmod((A() + "/locked.txt").c_str(), 0);
    ::chmod((B() + "/closed").c_str(), 0);
    const auto states = States();
    ::chmod((B() + "/closed").c_str(), 0700);
    EXPECT_EQ(states.at("locked.txt"), EntryState::ReadError);
    EXPECT_EQ(states.at("closed"), EntryState::ReadError);
    EXPECT_EQ(states.at("fine.txt"), EntryState::Same);
}

TEST_F(FolderCompareTest, NamesThatAreNotUtf8StillCompare)
{
    const std::string name = "\x83\x65\x83\x58\x83\x67.txt";  // Shift_JIS bytes
    Put("a", name, "1");
    Put("b", name, "2");
    EXPECT_EQ(States().at(name), EntryState::Different);
}
#endif

TEST_F(FolderCompareTest, AFileThatVanishesIsAReadErrorAndTheRunGoesOn)
{
    Put("a", "gone.txt", "1");
    Put("b", "gone.txt", "1");
    Put("a", "fine.txt", "1");
    Put("b", "fine.txt", "1");
    bool removed = false;
    // The walk has listed it; it goes before its content is read.
    tree_ = kl::CompareFolders(A(), B(), {}, {}, [&](const kl::FolderProgress&) {
        if (!std::exchange(removed, true))
            fs::remove(kl::PathFromUtf8(A() + "/gone.txt"));
    });
    EXPECT_EQ(tree_.entries[2].state, EntryState::ReadError);
    EXPECT_NE(tree_.entries[2].sides[0].error, 0);
    EXPECT_EQ(tree_.entries[1].state, EntryState::Same);
    EXPECT_EQ(tree_.entries[0].state, EntryState::Different);
}

TEST_F(FolderCompareTest, StopLeavesTheRestPending)
{
    for (int k = 0; k < 20; ++k) {
        Put("a", "f" + std::to_string(k), "1");
        Put("b", "f" + std::to_string(k), "1");
    }
    std::stop_source stop;
    int calls = 0;
    const kl::FolderTree tree = kl::CompareFolders(A(), B(), {}, stop.get_token(), [&](const kl::FolderProgress&) {
        if (++calls == 1)
            stop.request_stop();
    });
    EXPECT_TRUE(tree.stopped);
    EXPECT_EQ(tree.entries.front().state, EntryState::Pending);
}

// The states a plain reading of both files gives.
EntryState ReferenceState(const std::string* a, const std::string* b)
{
    if (!a)
        return EntryState::OnlyB;
    if (!b)
        return EntryState::OnlyA;
    if (*a == *b)
        return EntryState::Same;
    const auto binary = [](const std::string& s) { return s.substr(0, 8192).find('\0') != std::string::npos; };
    return binary(*a) || binary(*b) ? EntryState::BinaryDifferent : EntryState::Different;
}

TEST_F(FolderCompareTest, AgreesWithAPlainReferenceOnRandomTrees)
{
    std::mt19937 random(24);
    for (int round = 0; round < kltest::ScaledCases(20); ++round) {
        fs::remove_all(kl::PathFromUtf8(A()));
        fs::remove_all(kl::PathFromUtf8(B()));
        SetUp();
        std::map<std::string, std::string> files[2];
        // The first tree is large enough for the comparison to use its second thread.
        const int count = round == 0 ? 700 : 1 + static_cast<int>(random() % 30);
        for (int k = 0; k < count; ++k) {
            const std::string name = "d" + std::to_string(random() % 3) + "/f" + std::to_string(k);
            // Sizes around the block size make the block comparison's edges count.
            const std::size_t size = random() % 4 == 0 ? 256 * 1024 - 2 + random() % 5 : random() % 40;
            std::string bytes(size, 'a');
            for (char& c : bytes)
                c = static_cast<char>('a' + random() % 2);
            if (random() % 5 == 0)
                bytes[random() % (size + 1) % std::max<std::size_t>(size, 1)] = '\0';
            const int presence = static_cast<int>(random() % 4);
            if (presence != 1)
                files[0][name] = bytes;
            if (presence != 2) {
                if (random() % 2 == 0 && !bytes.empty())
                    bytes[random() % bytes.size()] ^= 1;
                files[1][name] = bytes;
            }
        }
        for (int side = 0; side < 2; ++side) {
            for (const auto& [name, bytes] : files[side])
                Put(side == 0 ? "a" : "b", name, bytes);
        }
        const auto states = States();
        for (int side = 0; side < 2; ++side) {
            for (const auto& [name, bytes] : files[side]) {
                const auto inA = files[0].find(name);
                const auto inB = files[1].find(name);
                const EntryState expected = ReferenceState(inA == files[0].end() ? nullptr : &inA->second,
                                                           inB == files[1].end() ? nullptr : &inB->second);
                ASSERT_EQ(states.at(name), expected) << "round " << round << " " << name;
            }
        }
    }
}

}  // namespace
