#include "engine/report/report_header.h"

#include <ctime>
#include <string_view>
#include <vector>

#include "engine/document/text_description.h"
#include "engine/platform/cp932.h"
#include "engine/platform/file_time.h"
#include "engine/report/html_text.h"

namespace kl {

namespace {

void AppendRow(std::string& out, std::string_view label, const std::string& a, const std::string& b)
{
    out += "<tr><th>";
    out += label;
    out += "<td>";
    out += a;
    out += "<td>";
    out += b;
    out += "</tr>\n";
}

std::string Escaped(std::string_view utf8)
{
    std::string out;
    AppendHtmlUtf8(out, utf8);
    return out;
}

}  // namespace

std::string ByteCountText(std::uintmax_t bytes)
{
    std::string digits = std::to_string(bytes);
    for (int k = static_cast<int>(digits.size()) - 3; k > 0; k -= 3)
        digits.insert(static_cast<std::size_t>(k), 1, ',');
    return digits + " バイト";
}

std::string LocalTimeText(std::int64_t seconds)
{
    const std::optional<LocalTime> local = ToLocalTime(seconds);
    if (!local)
        return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local->fields);
    return text;
}

std::string CompareMethodText(CompareMode mode, const CompareOptions& options)
{
    std::vector<std::string> switches;
    if (options.method == 1)
        switches.push_back("区切り文字「" + Cp932ToUtf8(std::string_view(&options.delimiter, 1)) +
                           "」までの先頭と末尾を比較");
    if (options.ignoreNewline)
        switches.emplace_back("改行コードの違いを無視する");
    if (options.ignoreSpaceTab)
        switches.emplace_back("タブと空白を比較対象としない");
    if (options.wideSpaceAsTwo)
        switches.emplace_back("全角スペースを半角スペース2文字に換算させる");
    if (options.ignoreTrailingSpaces)
        switches.emplace_back("行末の半角スペースを無視する");
    std::string text = mode == COMPARE_DETAILED ? "詳細比較" : "通常比較";
    if (switches.empty())
        return text;
    text += "（";
    for (std::size_t k = 0; k < switches.size(); ++k)
        text += (k ? "、" : "") + switches[k];
    return text + "）";
}

void AppendReportHeader(std::string& out, const CompareResult& result, const ReportHeader& header,
                        const LineKindCounts& counts, int differences, std::optional<int> changedRows)
{
    out += "<header>\n<h1>比較レポート</h1>\n<table class=info>\n";
    out += "<tr><th><th>DocA<th>DocB</tr>\n";
    std::array<std::string, 2> paths, sizes, times, kinds, lines;
    for (int side = DOC_A; side <= DOC_B; ++side) {
        const ReportFile& file = header.files[static_cast<std::size_t>(side)];
        const auto k = static_cast<std::size_t>(side);
        paths[k] = Escaped(file.path);
        if (file.size)
            sizes[k] = ByteCountText(*file.size);
        if (file.modifiedSeconds)
            times[k] = LocalTimeText(*file.modifiedSeconds);
        if (const Text* text = result.TextOf(side)) {
            kinds[k] = Escaped(TextDescription(*text));
            lines[k] = std::to_string(text->count());
        }
    }
    AppendRow(out, "ファイル", paths[0], paths[1]);
    AppendRow(out, "サイズ", sizes[0], sizes[1]);
    AppendRow(out, "更新日時", times[0], times[1]);
    AppendRow(out, "文字コードと改行", kinds[0], kinds[1]);
    AppendRow(out, "行数", lines[0], lines[1]);
    out += "</table>\n<table class=info>\n<tr><th>比較方法<td>";
    AppendHtmlUtf8(out, CompareMethodText(header.mode, header.options));
    out += "</tr>\n<tr><th>作成日時<td>" + LocalTimeText(header.createdSeconds) + "</tr>\n";
    out += "<tr><th>集計<td class=totals>";
    const std::pair<const char*, int> totals[] = {{"同一行", counts.common},
                                                  {"DocAのみ", counts.onlyA},
                                                  {"DocBのみ", counts.onlyB},
                                                  {"移動行", counts.movedA + counts.movedB},
                                                  {"相違箇所", differences}};
    for (const auto& [name, value] : totals)
        out += std::string("<span>") + name + " " + std::to_string(value) + "</span>";
    if (changedRows)
        out += "<span>変更行 " + std::to_string(*changedRows) + "</span>";
    out += "</tr>\n</table>\n</header>\n";
}

}  // namespace kl
