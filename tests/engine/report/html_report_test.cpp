// The report: which rows it shows, the markers of left-out rows, its header and contents,
// and that it is written piece by piece.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>

#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include "engine/report/context_filter.h"
#include "engine/report/html_report.h"
#include "engine/report/html_text.h"
#include "engine/display/changed_marks.h"
#include "engine/report/report_header.h"
#include "tests/support/test_scale.h"

namespace {

using kl::RowSpan;

// Plain version: a row is shown when some difference row lies within context rows of it.
std::vector<RowSpan> ReferenceShown(const std::vector<bool>& difference, int context)
{
    const int n = static_cast<int>(difference.size());
    std::vector<RowSpan> spans;
    for (int r = 0; r < n; ++r) {
        bool shown = context < 0;
        for (int d = std::max(0, r - std::max(context, 0)); d <= std::min(n - 1, r + context) && !shown; ++d)
            shown = difference[static_cast<std::size_t>(d)];
        if (!shown)
            continue;
        if (!spans.empty() && spans.back().last == r - 1)
            spans.back().last = r;
        else
            spans.push_back({r, r});
    }
    return spans;
}

TEST(ContextFilter, MatchesPlainVersionOnRandomRows)
{
    std::mt19937 random(7);
    for (int n = kltest::ScaledCases(2000); n > 0; --n) {
        std::vector<bool> difference(random() % 40);
        for (auto&& d : difference)
            d = random() % 5 == 0;
        const int context = static_cast<int>(random() % 6) - 1;
        const int rows = static_cast<int>(difference.size());
        const std::vector<RowSpan> found = kl::ShownSpans(
            kl::DifferenceSpans(rows, [&](int r) { return difference[static_cast<std::size_t>(r)]; }), rows, context);
        ASSERT_EQ(found, ReferenceShown(difference, context)) << "rows " << rows << " context " << context;
    }
}

std::shared_ptr<const kl::Text> Load(std::string_view bytes)
{
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, false));
}

std::string Lines(int from, int to, std::string_view extra = {})
{
    std::string text;
    for (int k = from; k < to; ++k)
        text += "line " + std::to_string(k) + "\r\n";
    return text + std::string(extra);
}

struct Written {
    std::string page;
    int pieces = 0;
    std::size_t largestPiece = 0;
};

using SharedResult = std::shared_ptr<const kl::CompareResult>;

SharedResult CompareTexts(std::string_view a, std::string_view b)
{
    return std::make_shared<const kl::CompareResult>(kl::Compare({Load(a), Load(b)}, kl::CompareRequest{}));
}

kl::ShownRows Shown(const SharedResult& result, bool paired = false)
{
    return kl::ShownRows(result->texts, result, {kl::DISPLAY_RESULT, paired});
}

Written Report(const SharedResult& result, const kl::ReportStyle& style, const kl::ReportHeader& header = {},
               bool paired = false)
{
    Written written;
    EXPECT_TRUE(kl::WriteHtmlReport(Shown(result, paired), header, style, [&](std::string_view piece) {
        written.page += piece;
        ++written.pieces;
        written.largestPiece = std::max(written.largestPiece, piece.size());
        return true;
    }));
    return written;
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// 200 common lines with two changes: one line only in DocA at 50, one only in DocB at 150.
SharedResult TwoChanges()
{
    return CompareTexts(Lines(0, 50) + "only a\r\n" + Lines(50, 200), Lines(0, 150) + "only b\r\n" + Lines(150, 200));
}

TEST(HtmlReport, ContextShowsDifferencesAndMarksLeftOutRows)
{
    const SharedResult result = TwoChanges();
    ASSERT_EQ(result->RowCount(), 202);
    kl::ReportStyle style;
    style.context = 3;
    const std::string page = Report(result, style).page;
    // Rows 47-53 and 148-154 are shown (the second difference sits one row later).
    EXPECT_NE(page.find(kl::LeftOutRowsText(47)), std::string::npos);
    EXPECT_NE(page.find(kl::LeftOutRowsText(94)), std::string::npos);
    EXPECT_NE(page.find(kl::LeftOutRowsText(47)), page.rfind(kl::LeftOutRowsText(47)));  // also at the end
    EXPECT_EQ(Count(page, "<div class=g>"), 3);
    EXPECT_EQ(Count(page, "<td class=t>"), 2 * 14);
    EXPECT_EQ(kl::LeftOutRowsText(120), "… 120行省略 …");

    style.context = -1;
    const std::string all = Report(result, style).page;
    EXPECT_EQ(Count(all, "<div class=g>"), 0);
    EXPECT_EQ(Count(all, "<td class=t>"), 2 * 202);
}

TEST(HtmlReport, ContentsLinkEveryDifference)
{
    const std::string page = Report(TwoChanges(), {}).page;
    EXPECT_NE(page.find("<a href=\"#d1\">DocA 51行 / DocB なし</a>"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"#d2\">DocA なし / DocB 151行</a>"), std::string::npos);
    EXPECT_EQ(Count(page, "<tr id=d1>"), 1);
    EXPECT_EQ(Count(page, "<tr id=d2>"), 1);
    EXPECT_NE(page.find("<span>DocAのみ 1</span><span>DocBのみ 1</span><span>移動行 0</span><span>相違箇所 2</span>"),
              std::string::npos);
}

TEST(HtmlReport, HeaderNamesFilesMethodAndDate)
{
    kl::ReportHeader header;
    header.files[0] = {"/tmp/<a>&b.txt", 1234567, 0};
    header.files[1] = {"/tmp/new.txt", std::nullopt, std::nullopt};
    header.mode = kl::COMPARE_DETAILED;
    header.options.ignoreNewline = true;
    header.options.ignoreTrailingSpaces = 1;
    const std::string page = Report(TwoChanges(), {}, header).page;
    EXPECT_NE(page.find("<td>/tmp/&lt;a&gt;&amp;b.txt<td>/tmp/new.txt"), std::string::npos);
    EXPECT_NE(page.find("<td>1,234,567 バイト<td></tr>"), std::string::npos);
    EXPECT_NE(page.find("<td>Shift_JIS CRLF<td>Shift_JIS CRLF"), std::string::npos);
    EXPECT_NE(page.find("詳細比較（改行コードの違いを無視する、行末の半角スペースを無視する）"), std::string::npos);
    EXPECT_NE(page.find("<th>作成日時<td>" + kl::LocalTimeText(0)), std::string::npos);
    EXPECT_NE(page.find("<title>比較レポート: &lt;a&gt;&amp;b.txt ⇔ new.txt</title>"), std::string::npos);
}

TEST(HtmlReport, RowColoursFollowTheSettings)
{
    kl::ReportStyle style;
    style.colors[kl::COLOR_DOC1] = kl::Rgb(0x12, 0x34, 0x56);
    style.colors[kl::COLOR_SAME] = kl::Rgb(1, 2, 3);
    style.fSameCol = 0;
    const std::string page = Report(TwoChanges(), style).page;
    EXPECT_NE(page.find(".a{background:#123456}"), std::string::npos);
    EXPECT_NE(page.find(".s{background:#010203}"), std::string::npos);
    EXPECT_NE(page.find("<td class=n>51<td class=t><span class=a>only a</span><span class=e>↓</span>"
                        "<td class=n><td class=t><span class=f>&lt;&lt; 相違行</span></tr>"),
              std::string::npos);
    style.newlineMarks = false;
    EXPECT_EQ(Report(TwoChanges(), style).page.find("<span class=e>"), std::string::npos);
}

TEST(HtmlReport, WrittenInPiecesOfBoundedSize)
{
    const std::string a = Lines(0, 40000);
    const std::string b = Lines(0, 40000, "tail\n");
    const SharedResult result = CompareTexts(a, b);
    const Written written = Report(result, {});
    EXPECT_GT(written.pieces, 20);
    EXPECT_LT(written.largestPiece, std::size_t{1} << 18);

    int calls = 0;
    EXPECT_FALSE(kl::WriteHtmlReport(Shown(result), {}, {}, [&](std::string_view) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TEST(HtmlReport, PairedRowsMarkWhatTheCharacterComparisonFinds)
{
    const std::string lineA = "first <1> & last\n";
    const std::string lineB = "first <2> & last!\n";
    const SharedResult result = CompareTexts("same\n" + lineA + "end\n", "same\n" + lineB + "end\n");
    const std::string page = Report(result, {}, {}, true).page;
    const kl::RowMarks marks = kl::MarkChangedLines(lineA, kl::TextEncoding::Cp932, lineB, kl::TextEncoding::Cp932);
    for (std::size_t side = 0; side < 2; ++side) {
        const std::string& line = side == 0 ? lineA : lineB;
        ASSERT_FALSE(marks.runs[side].empty());
        EXPECT_NE(page.find(side == 0 ? "<td class=\"t c0\"><span class=c0>" : "<td class=\"t c1\"><span class=c1>"),
                  std::string::npos);
        for (const kl::MarkedRun& run : marks.runs[side]) {
            std::string marked = side == 0 ? "<mark class=m0>" : "<mark class=m1>";
            int cells = 0;
            kl::AppendHtmlText(marked, kl::TextEncoding::Cp932,
                               std::string_view(line).substr(static_cast<std::size_t>(run.start),
                                                             static_cast<std::size_t>(run.end - run.start)), 4, cells);
            EXPECT_NE(page.find(marked + "</mark>"), std::string::npos) << marked;
        }
    }
    EXPECT_NE(page.find("<span>変更行 1</span>"), std::string::npos);
    EXPECT_EQ(Report(result, {}).page.find("<mark"), std::string::npos);
}

}  // namespace
