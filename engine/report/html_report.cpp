#include "engine/report/html_report.h"

#include <algorithm>
#include <vector>

#include "engine/compare/line_kind_counts.h"
#include "engine/report/context_filter.h"
#include "engine/report/html_text.h"
#include "engine/report/report_header.h"
#include "engine/report/report_rows.h"

namespace kl {

namespace {

constexpr std::size_t kPiece = 1 << 16;
constexpr ColorRef kNewlineMarkColor = Rgb(34, 85, 170);

// Collects the page and hands it to the sink in pieces of about kPiece bytes.
class PageOut {
public:
    explicit PageOut(const ReportSink& sink) : sink_(sink) { text.reserve(2 * kPiece); }
    std::string text;

    void Pass()
    {
        if (text.size() >= kPiece)
            Flush();
    }
    bool Flush()
    {
        if (ok_ && !text.empty())
            ok_ = sink_(text);
        text.clear();
        return ok_;
    }
    bool ok() const { return ok_; }

private:
    const ReportSink& sink_;
    bool ok_ = true;
};

std::string Css(ColorRef color)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "#";
    for (int shift : {0, 8, 16}) {
        const unsigned byte = (color >> shift) & 0xFF;
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
    return out;
}

void AppendStyleSheet(std::string& out, const ReportStyle& style)
{
    const ColorTable& c = style.colors;
    std::string fonts;
    if (!style.fontFace.empty() && style.fontFace.find_first_of("\"\\<>;{}") == std::string::npos)
        fonts = "\"" + style.fontFace + "\",";
    fonts += "\"IPAGothic\",\"IPAゴシック\",\"MS Gothic\",\"Noto Sans Mono CJK JP\",monospace";
    out += "<style>\n"
           ":root{color-scheme:light}\n"
           "body{margin:8px;background:" + Css(c[COLOR_WINDOW]) + ";color:#000;font:" + std::to_string(std::clamp(style.fontPixels, 6, 72)) +
           "px/1.3 " + fonts + "}\n"
           "h1{font-size:16px;margin:0 0 6px}h2{font-size:14px;margin:10px 0 4px}\n"
           "table.info{border-collapse:collapse;margin-bottom:6px}\n"
           ".info th,.info td{border:1px solid #999;padding:1px 6px;text-align:left;white-space:pre}\n"
           ".info th{background:#e8e8e8;font-weight:normal}\n"
           ".totals span{margin-right:1.5em}\n"
           "nav ol{margin:0 0 8px;padding-left:3em;columns:17em;column-gap:2em}\n"
           "table.rows{border-collapse:collapse;table-layout:fixed}\n"
           // Sections out of view are neither laid out nor painted: a long report opens fast.
           "section{content-visibility:auto}\n"
           "thead.p{display:none}\n"
           ".rows th{background:#e8e8e8;font-weight:normal;text-align:left;padding:1px 6px;border-bottom:1px solid #999}\n"
           ".rows td{padding:0;white-space:pre;vertical-align:top}\n"
           ".rows td.n{color:" + Css(c[COLOR_LINETEXT]) + ";background:" + Css(c[COLOR_LINEBACK]) +
           ";text-align:right;padding-right:2px}\n"
           ".rows td.t{padding-left:3px;padding-right:16px}\n"
           ".t>span:empty::after{content:\"\\a0\"}\n"
           ".s{background:" + Css(style.fSameCol == 1 ? c[COLOR_WINDOW] : c[COLOR_SAME]) + "}\n"
           ".a{background:" + Css(c[COLOR_DOC1]) + "}\n"
           ".b{background:" + Css(c[COLOR_DOC2]) + "}\n"
           ".f{background:" + Css(style.fOtherCol == 1 ? c[COLOR_OTHER] : c[COLOR_WINDOW]) + "}\n"
           ".c0{background:" + Css(c[COLOR_CHANGED1]) + "}.c1{background:" + Css(c[COLOR_CHANGED2]) + "}\n"
           "mark{color:inherit}.m0{background:" + Css(c[COLOR_DOC1]) + "}.m1{background:" + Css(c[COLOR_DOC2]) +
           "}\n"
           ".e{color:" + Css(kNewlineMarkColor) + "}\n"
           ".g{color:#555;background:#eee;border-top:1px dashed #999;border-bottom:1px dashed #999}\n"
           // The marker stays in view however far a wide table is scrolled.
           ".g span{position:sticky;left:8px;padding:0 4ch}\n"
           "@media print{\n"
           "@page{size:A4 landscape;margin:10mm}\n"
           "*{-webkit-print-color-adjust:exact;print-color-adjust:exact}\n"
           "body{margin:0;font-size:8pt}\n"
           "section{content-visibility:visible}\n"
           "table.rows{width:100%!important}\n"
           ".rows col.n{width:7ch!important}.rows col.t0,.rows col.t1{width:auto!important}\n"
           "table.titles{display:none}\n"
           "thead.p{display:table-header-group}\n"
           ".rows tr{break-inside:avoid}\n"
           ".rows td.t{white-space:pre-wrap;overflow-wrap:anywhere}\n"
           "}\n"
           "</style>\n";
}

const char* ShadeClass(CellShade shade, int side)
{
    switch (shade) {
    case CellShade::Same: return "s";
    case CellShade::OnlyA: return "a";
    case CellShade::OnlyB: return "b";
    case CellShade::Changed: return side == DOC_A ? "c0" : "c1";
    case CellShade::Filler: break;
    }
    return "f";
}

void AppendCell(std::string& out, int side, const ReportCell& cell, const ReportStyle& style)
{
    out += "<td class=n>";
    if (cell.lineIndex != kNoLine)
        out += std::to_string(cell.lineIndex + 1);
    // A changed row is coloured over the whole cell, so that an empty changed line shows too.
    const char* shade = ShadeClass(cell.shade, side);
    if (cell.shade == CellShade::Changed)
        out += std::string("<td class=\"t ") + shade + "\"><span class=" + shade + '>';
    else
        out += std::string("<td class=t><span class=") + shade + '>';
    const std::size_t end = std::min(cell.text.find_first_of("\r\n"), cell.text.size());
    int cells = 0;
    std::size_t pos = 0;
    for (const MarkedRun& run : cell.marks) {
        const std::size_t from = std::min(std::max(static_cast<std::size_t>(std::max(run.start, 0)), pos), end);
        const std::size_t to = std::min(std::max(static_cast<std::size_t>(std::max(run.end, 0)), from), end);
        AppendHtmlText(out, cell.encoding, cell.text.substr(pos, from - pos), style.tabSize, cells);
        if (to > from) {
            out += side == DOC_A ? "<mark class=m0>" : "<mark class=m1>";
            AppendHtmlText(out, cell.encoding, cell.text.substr(from, to - from), style.tabSize, cells);
            out += "</mark>";
        }
        pos = to;
    }
    AppendHtmlText(out, cell.encoding, cell.text.substr(pos, end - pos), style.tabSize, cells);
    out += "</span>";
    if (style.newlineMarks && cell.lineIndex != kNoLine && end < cell.text.size())
        out += "<span class=e>\u2193</span>";
}

// The first and last line of each side that a difference shows.
struct DifferenceLines {
    std::array<int, 2> first{kNoLine, kNoLine};
    std::array<int, 2> last{kNoLine, kNoLine};
};

void AppendLineRange(std::string& out, const char* name, int first, int last)
{
    out += name;
    if (first == kNoLine)
        out += " なし";
    else if (first == last)
        out += " " + std::to_string(first + 1) + "行";
    else
        out += " " + std::to_string(first + 1) + "–" + std::to_string(last + 1) + "行";
}

void AppendContents(PageOut& page, ReportRows& rows, const std::vector<RowSpan>& differences)
{
    page.text += "<nav>\n<h2>相違箇所の一覧</h2>\n";
    if (differences.empty()) {
        page.text += "<p>相違はありません。</p>\n</nav>\n";
        return;
    }
    page.text += "<ol>\n";
    ReportRow row;
    for (std::size_t d = 0; d < differences.size(); ++d) {
        DifferenceLines lines;
        for (int r = differences[d].first; r <= differences[d].last; ++r) {
            rows.Read(r, row);
            for (std::size_t side = 0; side < 2; ++side) {
                const int line = row.cells[side].lineIndex;
                if (line == kNoLine)
                    continue;
                if (lines.first[side] == kNoLine || line < lines.first[side])
                    lines.first[side] = line;
                lines.last[side] = std::max(lines.last[side], line);
            }
        }
        page.text += "<li><a href=\"#d" + std::to_string(d + 1) + "\">";
        AppendLineRange(page.text, "DocA", lines.first[0], lines.last[0]);
        page.text += " / ";
        AppendLineRange(page.text, "DocB", lines.first[1], lines.last[1]);
        page.text += "</a>\n";
        page.Pass();
    }
    page.text += "</ol>\n</nav>\n";
}

void AppendLeftOut(std::string& out, int rows)
{
    out += "<div class=g><span>";
    out += LeftOutRowsText(rows);
    out += "</span></div>\n";
}

// Every table of rows has the same columns, as wide as the widest cell shown, so that the
// tables line up and the page is as wide as its longest row.
struct ColumnWidths {
    int number = 6;                // characters of the line numbers
    std::array<int, 2> text{1, 1};  // cells of each side's widest text
};

ColumnWidths MeasureColumns(ReportRows& rows, const std::vector<RowSpan>& spans, const ReportStyle& style)
{
    ColumnWidths widths;
    ReportRow row;
    std::string scratch;
    int mostLines = 0;
    for (const RowSpan& span : spans) {
        for (int r = span.first; r <= span.last; ++r) {
            rows.Read(r, row, false);
            for (std::size_t side = 0; side < 2; ++side) {
                const ReportCell& cell = row.cells[side];
                mostLines = std::max(mostLines, cell.lineIndex + 1);
                // A text never takes more cells than bytes, tabs aside: most rows need no count.
                if (static_cast<int>(cell.text.size()) <= widths.text[side] &&
                    cell.text.find('\t') == std::string_view::npos)
                    continue;
                const std::string_view text = cell.text.substr(0, cell.text.find_first_of("\r\n"));
                int cells = 0;
                scratch.clear();
                AppendHtmlText(scratch, cell.encoding, text, style.tabSize, cells);
                // The line-end mark takes two cells more.
                widths.text[side] = std::max(widths.text[side], cells + 2);
            }
        }
    }
    widths.number = std::max(widths.number, static_cast<int>(std::to_string(mostLines).size()) + 1);
    return widths;
}

void AppendColumnStyle(std::string& out, const ColumnWidths& widths)
{
    const std::string number = std::to_string(widths.number);
    out += "<style>\n.rows col.n{width:calc(" + number + "ch + 2px)}";
    for (std::size_t side = 0; side < 2; ++side)
        out += ".rows col.t" + std::to_string(side) + "{width:calc(" + std::to_string(widths.text[side]) + "ch + 19px)}";
    out += "\ntable.rows{width:calc(" + std::to_string(2 * widths.number + widths.text[0] + widths.text[1]) +
           "ch + 42px)}\n</style>\n";
}

void AppendColumns(std::string& out)
{
    out += "<colgroup><col class=n><col class=t0><col class=n><col class=t1></colgroup>";
}

void AppendTitles(std::string& out, const ReportHeader& header)
{
    out += "<tr>";
    for (int side = DOC_A; side <= DOC_B; ++side) {
        out += side == DOC_A ? "<th colspan=2>DocA: " : "<th colspan=2>DocB: ";
        AppendHtmlUtf8(out, header.files[static_cast<std::size_t>(side)].path);
    }
    out += "</tr>";
}

// Rows of one table: a span is cut into tables of at most this many rows, each in a section
// the browser lays out only when it comes into view.
constexpr int kSectionRows = 400;

}  // namespace

std::string LeftOutRowsText(int rows)
{
    return "… " + std::to_string(rows) + "行省略 …";
}

bool WriteHtmlReport(const ShownRows& shown, const ReportHeader& header, const ReportStyle& style,
                     const ReportSink& sink)
{
    static const CompareResult kNoResult;
    const CompareResult& result = shown.result() ? *shown.result() : kNoResult;
    PageOut page(sink);
    ReportRows rows(shown);
    const std::vector<RowSpan> differences =
        DifferenceSpans(rows.Count(), [&rows](int r) { return rows.IsDifference(r); });

    page.text += "<!DOCTYPE html>\n<html lang=ja>\n<head>\n<meta charset=utf-8>\n<title>比較レポート: ";
    for (int side = DOC_A; side <= DOC_B; ++side) {
        const std::string& path = header.files[static_cast<std::size_t>(side)].path;
        AppendHtmlUtf8(page.text, path.substr(path.find_last_of("/\\") + 1));
        if (side == DOC_A)
            page.text += " ⇔ ";
    }
    page.text += "</title>\n";
    AppendStyleSheet(page.text, style);
    const std::vector<RowSpan> spans = ShownSpans(differences, rows.Count(), style.context);
    AppendColumnStyle(page.text, MeasureColumns(rows, spans, style));
    page.text += "</head>\n<body>\n";
    int changed = 0;
    for (int r = 0; shown.options().paired && r < rows.Count(); ++r)
        changed += shown.IsPaired(r);
    AppendReportHeader(page.text, result, header, CountLineKinds(result), static_cast<int>(differences.size()),
                       shown.options().paired ? std::optional<int>(changed) : std::nullopt);
    AppendContents(page, rows, differences);

    // The column titles; printed pages repeat them from each table's own head instead.
    page.text += "<table class=\"rows titles\">";
    AppendColumns(page.text);
    page.text += "<thead>";
    AppendTitles(page.text, header);
    page.text += "</thead></table>\n";
    std::string titles = "<thead class=p>";
    AppendTitles(titles, header);
    titles += "</thead>";
    const int rowPixels = (std::clamp(style.fontPixels, 6, 72) * 13 + 9) / 10;

    std::size_t nextDifference = 0;
    int after = 0;  // the row after the last one written
    ReportRow row;
    for (const RowSpan& span : spans) {
        if (span.first > after)
            AppendLeftOut(page.text, span.first - after);
        for (int r = span.first; r <= span.last; ++r) {
            if ((r - span.first) % kSectionRows == 0) {
                if (r > span.first)
                    page.text += "</tbody></table></section>\n";
                const int sectionRows = std::min(kSectionRows, span.last - r + 1);
                page.text += "<section style=\"contain-intrinsic-size:auto " + std::to_string(sectionRows * rowPixels) +
                             "px\"><table class=rows>";
                AppendColumns(page.text);
                page.text += titles + "<tbody>\n";
            }
            rows.Read(r, row);
            if (nextDifference < differences.size() && differences[nextDifference].first == r)
                page.text += "<tr id=d" + std::to_string(++nextDifference) + ">";
            else
                page.text += "<tr>";
            AppendCell(page.text, DOC_A, row.cells[0], style);
            AppendCell(page.text, DOC_B, row.cells[1], style);
            page.text += "</tr>\n";
            page.Pass();
            if (!page.ok())
                return false;
        }
        page.text += "</tbody></table></section>\n";
        after = span.last + 1;
    }
    if (rows.Count() > after)
        AppendLeftOut(page.text, rows.Count() - after);
    if (rows.Count() == 0)
        page.text += "<div class=g><span>比較結果がありません。</span></div>\n";
    page.text += "</body>\n</html>\n";
    return page.Flush();
}

}  // namespace kl
