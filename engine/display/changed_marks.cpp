#include "engine/display/changed_marks.h"

#include <algorithm>

#include "engine/document/text.h"
#include "engine/linedetail/line_compare.h"

namespace kl {

TextEncoding PairEncoding(TextEncoding first, TextEncoding second)
{
    return first == second ? first : TextEncoding::Cp932;
}

RowMarks MarkChangedLines(std::string_view lineA, TextEncoding encodingA, std::string_view lineB,
                          TextEncoding encodingB, const std::stop_token& stop)
{
    RowMarks marks;
    const LinePairResult found = CompareLinePair(lineA, lineB, {}, stop, PairEncoding(encodingA, encodingB));
    if (found.aborted) {
        marks.aborted = true;
        return marks;
    }
    const auto collect = [](const std::vector<LineSegment>& segments, std::string_view line,
                            std::vector<MarkedRun>& runs) {
        const auto content = static_cast<std::int32_t>(line.size() - static_cast<std::size_t>(NewlineKind(line)));
        for (const LineSegment& segment : segments) {
            const std::int32_t end = std::min(segment.end, content);
            if (segment.isDifference == 0 || segment.start >= end)
                continue;
            if (!runs.empty() && runs.back().end == segment.start)
                runs.back().end = end;
            else
                runs.push_back({segment.start, end});
        }
    };
    collect(found.segments1, lineA, marks.runs[0]);
    collect(found.segments2, lineB, marks.runs[1]);
    return marks;
}

RowMarks MarkShownRow(const ShownRows& shown, int row, const std::stop_token& stop)
{
    if (!shown.IsPaired(row))
        return {};
    std::string scratch;
    return MarkChangedLines(shown.TextAt(DOC_A, row, scratch), shown.EncodingOf(DOC_A),
                            shown.TextAt(DOC_B, row, scratch), shown.EncodingOf(DOC_B), stop);
}

}  // namespace kl
