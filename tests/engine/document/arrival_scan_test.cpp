#include "engine/document/arrival_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "engine/document/file_reader.h"
#include "engine/document/text_loader.h"
#include "engine/platform/utf8_validation.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_scale.h"

namespace {

// Texts arriving in pieces cut anywhere (between a CR and its LF, inside a character) are
// seen as the whole text is.
TEST(ArrivalScan, PiecesAddUpToTheWholeText)
{
    static const std::string pieces[] = {"\r", "\n", "\r\n", "a", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\x82\xA0", "\xE3"};
    std::mt19937 random(5);
    const int cases = kltest::ScaledCases(3000);
    for (int c = 0; c < cases; ++c) {
        std::string text;
        const int count = static_cast<int>(random() % 300);
        // Mostly well-formed, so that both answers of the check come up.
        const unsigned kinds = c % 2 == 0 ? 6 : 8;
        for (int k = 0; k < count; ++k)
            text += pieces[random() % kinds];
        // A size guessed right, far too low or far too high.
        kl::ArrivalScan scan(text.size() * (c % 3));
        for (std::size_t arrived = 0; arrived < text.size(); arrived += random() % 200)
            scan.Arrived(text.data(), arrived);
        const kl::ScannedBytes scanned = scan.Finish(text.data(), text.size());
        ASSERT_EQ(scanned.starts, kl::SplitLines(text, false).starts) << ::testing::PrintToString(text);
        ASSERT_EQ(scanned.validUtf8, kl::IsValidUtf8(text)) << ::testing::PrintToString(text);
    }
}

// Long texts, looked at a few kilobytes at a time: CR LF across those steps, a guess of
// the size far too low.
TEST(ArrivalScan, LongTextsWithLineEndsAcrossTheSteps)
{
    for (const std::size_t at : {4095, 4096, 8191}) {
        std::string text(20000, 'x');
        for (std::size_t i = 0; i < text.size(); i += 7)
            text[i] = '\n';
        text[at] = '\r';
        text[at + 1] = '\n';
        text[at + 3] = '\r';
        for (const std::size_t piece : {std::size_t{1000}, text.size()}) {
            kl::ArrivalScan scan(100);
            for (std::size_t arrived = piece; arrived < text.size(); arrived += piece)
                scan.Arrived(text.data(), arrived);
            ASSERT_EQ(scan.Finish(text.data(), text.size()).starts, kl::SplitLines(text, false).starts) << at;
        }
    }
}

// A file of several pieces read from disk gives the text that its bytes split in memory
// give: the same encoding, lines and longest line. CR LF and characters fall across the
// pieces' boundaries; one text ends in a byte that is no UTF-8.
TEST(ArrivalScan, AReadFileSplitsAsItsBytesDo)
{
    kltest::TempDir dir;
    std::mt19937 random(9);
    static const std::string words[] = {"設定", "行", "abc", "\r\n", "\n", "\r", " "};
    std::string bytes;
    while (bytes.size() < 700000)
        bytes += words[random() % std::size(words)];
    for (const std::string& content : {bytes, bytes + "\x93", bytes.substr(0, 600000)}) {
        const kl::FileReadResult read = kl::ReadWholeFile(dir.write("a.txt", content));
        ASSERT_TRUE(read.ok);
        kl::ScannedBytes scanned = read.scanned;
        auto storage = std::make_unique_for_overwrite<char[]>(read.size);
        std::memcpy(storage.get(), read.bytes.get(), read.size);
        const kl::Text loaded = kl::SplitLinesOwned(std::move(storage), read.size, false, kl::EncodingChoice::Auto, &scanned);
        const kl::Text expected = kl::SplitLines(content, false);
        EXPECT_EQ(loaded.encoding, expected.encoding);
        EXPECT_EQ(loaded.bytes(), expected.bytes());
        EXPECT_EQ(loaded.starts, expected.starts);
        EXPECT_EQ(loaded.longestLine, expected.longestLine);
    }
}

}  // namespace
