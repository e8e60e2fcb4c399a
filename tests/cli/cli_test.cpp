// Runs the built kestrilane-cli as a program and checks its exit codes and output.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "engine/platform/cp932.h"
#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

// 2023-11-14 22:13 UTC, the modification time of every input, printed in UTC.
constexpr std::time_t kFileTime = 1700000000;

using kltest::CliResult;

class CliTest : public ::testing::Test {
protected:
    // Writes an input file with the fixed modification time; returns its path.
    std::string Input(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_.write(name, bytes);
        kltest::SetModifiedTime(path, kFileTime);
        return path;
    }

    CliResult Run(const std::vector<std::string>& args) { return kltest::RunCli(dir_, args); }

    // The compare command's JSON output for two texts.
    std::string Json(const std::string& a, const std::string& b, std::vector<std::string> options = {})
    {
        options.insert(options.begin(), {"compare", "--json"});
        options.push_back(Input("a.txt", a));
        options.push_back(Input("b.txt", b));
        const CliResult result = Run(options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    }

    kltest::TempDir dir_;
};

TEST_F(CliTest, UsageErrorsExitWith2)
{
    const std::string a = Input("a.txt", "a\n");
    const std::string b = Input("b.txt", "b\n");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nosuchcommand"},
        {"compare"},
        {"compare", a},
        {"compare", a, b, a},
        {"compare", "--bogus", a, b},
        {"compare", "--preset=123", a, b},
        {"compare", "--preset=1x100", a, b},
        {"compare", "--preset=", a, b},
        {"compare", "--delimiter=", a, b},
        {"compare", "--delimiter=ab", a, b},
        {"compare", "--json=1", a, b},
    };
    for (const auto& args : cases) {
        const CliResult result = Run(args);
        const std::string shown = kltest::ShownArguments(args);
        EXPECT_EQ(result.exitCode, 2) << shown;
        EXPECT_FALSE(result.err.empty()) << shown;
        EXPECT_TRUE(result.out.empty()) << shown;
    }
}

TEST_F(CliTest, HelpGoesToStandardOutput)
{
    const CliResult result = Run({"compare", "--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("usage: kestrilane-cli compare"), std::string::npos);
}

TEST_F(CliTest, UnreadableFileExitsWith1AndNamesIt)
{
    const std::string a = Input("a.txt", "a\n");
    for (const std::string& missing : {dir_.file("missing-file.txt"), dir_.path()}) {
        for (const auto& args : {std::vector<std::string>{"compare", a, missing},
                                 std::vector<std::string>{"compare", "--json", missing, a}}) {
            const CliResult result = Run(args);
            EXPECT_EQ(result.exitCode, 1) << missing;
            EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
            EXPECT_TRUE(result.out.empty());
        }
    }
}

TEST_F(CliTest, JsonOfLinesMovedFromTheEndToTheStart)
{
    const std::string json = Json("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n");
    EXPECT_EQ(json, R"({"rows": [
{"a": [3, -1, "相違行 >>"], "b": [2, 0, "d\u000a"]},
{"a": [3, -1, "相違行 >>"], "b": [2, 1, "e\u000a"]},
{"a": [0, 0, "a\u000a"], "b": [0, 2, "a\u000a"]},
{"a": [0, 1, "b\u000a"], "b": [0, 3, "b\u000a"]},
{"a": [0, 2, "c\u000a"], "b": [0, 4, "c\u000a"]},
{"a": [0, 3, "d\u000a"], "b": [3, -1, "<< 上位1行目に存在"]},
{"a": [0, 4, "e\u000a"], "b": [3, -1, "<< 上位2行目に存在"]}
],
"blocksA": [
{"kind": -1, "firstLineIndex": 0, "lastLineIndex": 0, "firstRow": 0, "lineCount": 0, "blockNo": 0},
{"kind": -1, "firstLineIndex": 0, "lastLineIndex": 0, "firstRow": 0, "lineCount": 0, "blockNo": 1},
{"kind": 0, "firstLineIndex": 0, "lastLineIndex": 4, "firstRow": 2, "lineCount": 5, "blockNo": 2}
],
"blocksB": [
{"kind": -1, "firstLineIndex": 0, "lastLineIndex": null, "firstRow": 0, "lineCount": 0, "blockNo": 0},
{"kind": 2, "firstLineIndex": 0, "lastLineIndex": 1, "firstRow": 0, "lineCount": 2, "blockNo": 1},
{"kind": 0, "firstLineIndex": 2, "lastLineIndex": 4, "firstRow": 2, "lineCount": 3, "blockNo": 2}
],
"lines": {"a": [
{"blockSize": 3, "partnerLines": [2], "partnerSlots": [2]},
{"blockSize": 3, "partnerLines": [3], "partnerSlots": [3]},
{"blockSize": 3, "partnerLines": [4], "partnerSlots": [4]},
{"blockSize": 2, "partnerLines": [0], "partnerSlots": [0]},
{"blockSize": 2, "partnerLines": [1], "partnerSlots": [1]}
], "b": [
{"blockSize": 2, "partnerLines": [3], "partnerSlots": [3]},
{"blockSize": 2, "partnerLines": [4], "partnerSlots": [4]},
{"blockSize": 3, "partnerLines": [0], "partnerSlots": [0]},
{"blockSize": 3, "partnerLines": [1], "partnerSlots": [1]},
{"blockSize": 3, "partnerLines": [2], "partnerSlots": [2]}
]},
"totals": ["総行数 = 5 (LF:5 CRLF:0)  [2023/11/14 22:13] 10 byte", "総行数 = 5 (LF:5 CRLF:0)  [2023/11/14 22:13] 10 byte"],
"encoding": ["Shift_JIS", "Shift_JIS"]}
)");
}

TEST_F(CliTest, JsonOfEmptyTexts)
{
    EXPECT_EQ(Json("", ""), R"({"rows": [],
"blocksA": [],
"blocksB": [],
"lines": {"a": [], "b": []},
"totals": ["総行数 = 0 (LF:0 CRLF:0)  [2023/11/14 22:13] 0 byte", "総行数 = 0 (LF:0 CRLF:0)  [2023/11/14 22:13] 0 byte"],
"encoding": ["Shift_JIS", "Shift_JIS"]}
)");
}

TEST_F(CliTest, JsonTextsAreEscapedAndDecoded)
{
    // A quote, a backslash, a control character, a byte with no character, a lead byte
    // before the line end, and あ in code page 932.
    const std::string json = Json("q\"\\\x01\xff\x81\n\x82\xa0\r\n", "z\n");
    EXPECT_NE(json.find(R"("q\"\\\u0001)" "\xef\xbf\xbd\xef\xbf\xbd" R"(\u000a"])"), std::string::npos) << json;
    EXPECT_NE(json.find("\"\xe3\x81\x82\\u000d\\u000a\"]"), std::string::npos) << json;
}

TEST_F(CliTest, CompareOptionsReachTheComparison)
{
    struct Case {
        std::string a, b;
        std::vector<std::string> options;
        std::string expectedFirstRow;
    };
    const std::string common = R"({"a": [0, 0, "a\u000d\u000a"], "b": [0, 0, "a\u000a"]})";
    const std::string differ = R"({"a": [1, 0, "a\u000d\u000a"], "b": [3, -1, "<< 相違行"]})";
    const std::vector<Case> cases = {
        {"a\r\n", "a\n", {}, differ},
        {"a\r\n", "a\n", {"--ignore-newline"}, common},
        {"a\r\n", "a\n", {"--preset=01000"}, common},
        // The preset is applied after the other options, whatever their order.
        {"a\r\n", "a\n", {"--preset=00000", "--ignore-newline"}, differ},
        {"a b\n", "ab\n", {"--ignore-space-tab"}, R"({"a": [0, 0, "a b\u000a"], "b": [0, 0, "ab\u000a"]})"},
        {"x,1,y\n", "x,2,y\n", {"--delimiter=,"}, R"({"a": [0, 0, "x,1,y\u000a"], "b": [0, 0, "x,2,y\u000a"]})"},
        {"x,1,y\n", "x,2,y\n", {}, R"({"a": [1, 0, "x,1,y\u000a"], "b": [3, -1, "<< 相違行"]})"},
        {"a\xa4\xa2\n", "a\x82\xa0\n", {"--euc"}, R"({"a": [0, 0, "aあ\u000a"], "b": [0, 0, "aあ\u000a"]})"},
        {"x\n", "y\n", {"--right-message=右だけ"}, R"({"a": [1, 0, "x\u000a"], "b": [3, -1, "右だけ"]})"},
    };
    for (const Case& c : cases) {
        const std::string json = Json(c.a, c.b, c.options);
        const std::size_t start = json.find('\n') + 1;
        std::string firstRow = json.substr(start, json.find('\n', start) - start);
        if (!firstRow.empty() && firstRow.back() == ',')
            firstRow.pop_back();
        EXPECT_EQ(firstRow, c.expectedFirstRow)
            << (c.options.empty() ? std::string("no options") : c.options[0]);
    }
}

TEST_F(CliTest, MessagesFromTheCommandLine)
{
    const std::string json = Json("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n",
                                  {"--no-position-message", "--right-message=%s行%d番%d", "--left-message=左"});
    EXPECT_NE(json.find(R"({"a": [3, -1, "左"], "b": [2, 0, "d\u000a"]})"), std::string::npos) << json;
    EXPECT_NE(json.find(R"({"a": [0, 4, "e\u000a"], "b": [3, -1, "%s行2番%d"]})"), std::string::npos) << json;
}

TEST_F(CliTest, ListingAlignsFullWidthText)
{
    const std::string a = Input("a.txt", "\x82\xa0\x82\xa2\nx\tq\n");  // あい / x<TAB>q
    const std::string b = Input("b.txt", "\x82\xa0\x82\xa2\ny\n");
    const CliResult result = Run({"compare", a, b});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "A: a.txt  総行数 = 2 (LF:2 CRLF:0)  [2023/11/14 22:13] 9 byte\n"
                          "B: b.txt  総行数 = 2 (LF:2 CRLF:0)  [2023/11/14 22:13] 7 byte\n"
                          "\n"
                          "1 あい        1 あい\n"
                          "2 x   q     <   << 相違行\n"
                          "  相違行 >> > 2 y\n");
}

// File names in Japanese reach the program as they are (on Windows through the wide command
// line) and come back in its output and in the file it writes.
TEST_F(CliTest, JapaneseFileNamesReachTheProgramAndItsOutput)
{
    const std::string a = Input("比較・前.txt", "a\nb\n");
    const std::string b = Input("比較・後.txt", "a\nc\n");
    const CliResult brief = Run({"compare", "--brief", a, b});
    EXPECT_EQ(brief.exitCode, 1) << brief.err;
    EXPECT_EQ(brief.out, "Files " + a + " and " + b + " differ\n");
    const CliResult listing = Run({"compare", a, b});
    EXPECT_EQ(listing.out.substr(0, listing.out.find("  ")), "A: 比較・前.txt") << listing.err;

    const std::string merged = dir_.file("マージ結果.txt");
    const CliResult merge = Run({"merge", a, b, "-o", merged});
    EXPECT_EQ(merge.exitCode, 0) << merge.err;
    EXPECT_EQ(kltest::ReadFileBytes(merged), "a\n!DOC_A>>>b\n!DOC_B>>>c\n");
}

// The sample pair, listed and as JSON, against the reviewed output in golden/.
TEST_F(CliTest, SamplePairMatchesGoldenFiles)
{
    const std::string samples = std::string(KESTRILANE_SOURCE_DIR) + "/samples/";
    const std::string golden = std::string(KESTRILANE_SOURCE_DIR) + "/tests/cli/golden/";
    const std::string before = Input("before.txt", kltest::ReadFileBytes(samples + "before.txt"));
    const std::string after = Input("after.txt", kltest::ReadFileBytes(samples + "after.txt"));
    ASSERT_FALSE(kltest::ReadFileBytes(before).empty());

    const CliResult listing = Run({"compare", before, after});
    EXPECT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_EQ(listing.out, kltest::ReadFileBytes(golden + "compare_samples.txt"));

    const CliResult json = Run({"compare", "--json", before, after});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out, kltest::ReadFileBytes(golden + "compare_samples_json.txt"));
}

}  // namespace

namespace {

TEST_F(CliTest, UtfEightTextsAreListedAndWrittenAsTheyAre)
{
    // 日本語 with a full-width space, in UTF-8 on both sides; DocB also in UTF-16.
    const std::string a = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x80x\n\xE8\xAA\x9E\n";
    const std::string b = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x80x\nnew\n";
    const std::string json = Json(a, b);
    EXPECT_NE(json.find("\"encoding\": [\"UTF-8\", \"UTF-8\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"\xE8\xAA\x9E\\u000a\""), std::string::npos) << json;

    const CliResult listing = Run({"compare", Input("a.txt", a), Input("b.txt", b)});
    EXPECT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_TRUE(kl::IsValidUtf8(listing.out));
    EXPECT_NE(listing.out.find("\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x80x"), std::string::npos) << listing.out;

    // The user's choice wins over the bytes; a pair in two encodings is read as UTF-8.
    const std::string forced = Json(a, b, {"--encoding-a=sjis"});
    EXPECT_NE(forced.find("\"encoding\": [\"UTF-8\", \"UTF-8\"]"), std::string::npos) << forced;
    const std::string bothForced = Json(a, b, {"--encoding-a=sjis", "--encoding-b=sjis"});
    EXPECT_NE(bothForced.find("\"encoding\": [\"Shift_JIS\", \"Shift_JIS\"]"), std::string::npos);

    // linediff of a Shift_JIS line against a UTF-8 one: both read as UTF-8, marks by column.
    const CliResult lines = Run({"linediff", Input("s.txt", "\x93\xfa\x96\x7b\x8c\xea abc\n"), "1",
                                 Input("u.txt", "\xE6\x97\xA5\xE6\x9C\xAC\xE4\xBA\xBA abc\n"), "1"});
    EXPECT_EQ(lines.out, "1 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E abc\n      ^^\n"
                         "2 \xE6\x97\xA5\xE6\x9C\xAC\xE4\xBA\xBA abc\n      ^^\n") << lines.err;

    // A merge writes the UTF-8 bytes unchanged.
    const CliResult merged = Run({"merge", Input("a.txt", a), Input("b.txt", b)});
    EXPECT_EQ(merged.out, "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x80x\n!DOC_A>>>\xE8\xAA\x9E\n!DOC_B>>>new\n");
}

// The rows of the paired display: a changed line beside its new version, with the
// changed characters as byte ranges of each line.
TEST_F(CliTest, PairedJsonShowsChangedRowsWithTheirMarks)
{
    const std::string json = Json("keep\nthe old text\nkeep 2\n", "keep\nthe new text\nkeep 2\n", {"--paired"});
    const std::size_t shown = json.find("\"shown\": [");
    ASSERT_NE(shown, std::string::npos) << json;
    EXPECT_EQ(json.substr(shown), R"("shown": [
{"a": [0, 0, "keep\u000a"], "b": [0, 0, "keep\u000a"], "block": -1, "paired": false},
{"a": [4, 1, "the old text\u000a"], "b": [4, 1, "the new text\u000a"], "block": 0, "paired": true, "marks": {"a": [[4, 7]], "b": [[4, 7]]}},
{"a": [0, 2, "keep 2\u000a"], "b": [0, 2, "keep 2\u000a"], "block": -1, "paired": false}
]}
)");
    EXPECT_EQ(Json("a\n", "b\n").find("\"shown\""), std::string::npos);
}

}  // namespace
