#include "cli/unified_diff.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace kl::cli {
namespace {

// A line as patch sees it: text lines first..last, which end in LF (or end the text).
struct PatchLine {
    int first = 0;
    int last = 0;
};

std::vector<PatchLine> PatchLines(const Text* text)
{
    std::vector<PatchLine> lines;
    const int count = text ? text->count() : 0;
    int first = 0;
    for (int i = 0; i < count; ++i) {
        const std::string_view line = text->text(i);
        if (i + 1 == count || (!line.empty() && line.back() == '\n')) {
            lines.push_back({first, i});
            first = i + 1;
        }
    }
    return lines;
}

std::string_view PatchLineBytes(const Text& text, const PatchLine& line)
{
    const auto begin = static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line.first)]);
    const auto end = static_cast<std::size_t>(text.starts[static_cast<std::size_t>(line.last) + 1]);
    return text.bytes().substr(begin, end - begin);
}

enum class EditKind : std::uint8_t { Same, Removed, Added };

// An edit at patch line a of DocA and b of DocB: the lines it takes, or for an edit
// without a line of that side, the number of that side's lines before it.
struct Edit {
    EditKind kind;
    int a;
    int b;
};

// The edit script over patch lines. A patch line of DocA stays only when each of its text
// lines sits in a common row beside a byte-equal DocB line and those DocB lines form one
// whole patch line of DocB.
std::vector<Edit> EditScript(const CompareResult& result, const std::vector<PatchLine>& linesA,
                             const std::vector<PatchLine>& linesB)
{
    const Text* textA = result.TextOf(DOC_A);
    const Text* textB = result.TextOf(DOC_B);
    std::vector<int> partnerOfA(textA ? static_cast<std::size_t>(textA->count()) : 0, kNoLine);
    const std::vector<DisplayRow>& rowsA = result.Rows(DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(DOC_B);
    for (std::size_t r = 0; r < std::min(rowsA.size(), rowsB.size()); ++r) {
        const DisplayRow& a = rowsA[r];
        const DisplayRow& b = rowsB[r];
        if (a.kind == ROW_COMMON && b.kind == ROW_COMMON && a.lineIndex != kNoLine && b.lineIndex != kNoLine &&
            textA->text(a.lineIndex) == textB->text(b.lineIndex))
            partnerOfA[static_cast<std::size_t>(a.lineIndex)] = b.lineIndex;
    }

    // Patch line of DocB that starts and ends at each text line.
    std::vector<int> startsAt(textB ? static_cast<std::size_t>(textB->count()) : 0, -1);
    std::vector<int> endsAt(startsAt.size(), -1);
    for (std::size_t k = 0; k < linesB.size(); ++k) {
        startsAt[static_cast<std::size_t>(linesB[k].first)] = static_cast<int>(k);
        endsAt[static_cast<std::size_t>(linesB[k].last)] = static_cast<int>(k);
    }
    std::vector<int> keptA(linesA.size(), -1);
    std::vector<int> keptB(linesB.size(), -1);
    for (std::size_t k = 0; k < linesA.size(); ++k) {
        const PatchLine& line = linesA[k];
        const int first = partnerOfA[static_cast<std::size_t>(line.first)];
        if (first == kNoLine || startsAt[static_cast<std::size_t>(first)] < 0)
            continue;
        bool consecutive = true;
        for (int i = line.first + 1; i <= line.last && consecutive; ++i)
            consecutive = partnerOfA[static_cast<std::size_t>(i)] == first + (i - line.first);
        const int last = first + (line.last - line.first);
        if (consecutive && endsAt[static_cast<std::size_t>(last)] == startsAt[static_cast<std::size_t>(first)]) {
            keptA[k] = startsAt[static_cast<std::size_t>(first)];
            keptB[static_cast<std::size_t>(keptA[k])] = static_cast<int>(k);
        }
    }

    std::vector<Edit> script;
    script.reserve(linesA.size() + linesB.size());
    std::size_t a = 0;
    std::size_t b = 0;
    while (a < linesA.size() || b < linesB.size()) {
        const Edit at{EditKind::Same, static_cast<int>(a), static_cast<int>(b)};
        if (a < linesA.size() && keptA[a] < 0) {
            script.push_back({EditKind::Removed, at.a, at.b});
            ++a;
        } else if (b < linesB.size() && keptB[b] < 0) {
            script.push_back({EditKind::Added, at.a, at.b});
            ++b;
        } else {
            script.push_back(at);
            ++a;
            ++b;
        }
    }
    return script;
}

// "@@ -l,s" in the usual shorthand: ",1" left out, an empty range named by the line before.
void PutRange(OutputBuffer& out, int first, int count)
{
    out.PutInt(count == 0 ? first : first + 1);
    if (count != 1) {
        out.Put(',');
        out.PutInt(count);
    }
}

void PutLine(OutputBuffer& out, char marker, std::string_view bytes)
{
    out.Put(marker);
    out.Put(bytes);
    if (bytes.empty() || bytes.back() != '\n')
        out.Put("\n\\ No newline at end of file\n");
}

// The escape letter of a byte that diff writes as backslash and letter; 0 for none.
char EscapeLetter(unsigned char byte)
{
    switch (byte) {
    case '\a': return 'a';
    case '\b': return 'b';
    case '\t': return 't';
    case '\n': return 'n';
    case '\v': return 'v';
    case '\f': return 'f';
    case '\r': return 'r';
    case '"': return '"';
    case '\\': return '\\';
    default: return 0;
    }
}

// The name as diff writes it in these headers: as it is, unless it holds a space, a quote,
// a backslash, a control character or a byte above 0x7F; then in double quotes with those
// bytes escaped C-style (other bytes as three octal digits), so that one line holds it and
// patch reads it back.
void PutFileName(OutputBuffer& out, std::string_view name)
{
    const auto escaped = [](unsigned char byte) { return EscapeLetter(byte) != 0 || byte < 0x20 || byte >= 0x80; };
    const bool quoted = std::any_of(name.begin(), name.end(),
                                    [&](char c) { return c == ' ' || escaped(static_cast<unsigned char>(c)); });
    if (!quoted) {
        out.Put(name);
        return;
    }
    out.Put('"');
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (!escaped(byte)) {
            out.Put(c);
        } else if (const char letter = EscapeLetter(byte)) {
            out.Put('\\');
            out.Put(letter);
        } else {
            out.Put('\\');
            out.Put(static_cast<char>('0' + (byte >> 6)));
            out.Put(static_cast<char>('0' + ((byte >> 3) & 7)));
            out.Put(static_cast<char>('0' + (byte & 7)));
        }
    }
    out.Put('"');
}

void PutLabel(OutputBuffer& out, std::string_view marker, const UnifiedFileLabel& label)
{
    out.Put(marker);
    PutFileName(out, label.name);
    if (!label.time.empty()) {
        out.Put('\t');
        out.Put(label.time);
    }
    out.Put('\n');
}

}  // namespace

bool WriteUnifiedDiff(OutputBuffer& out, const CompareResult& result, const std::array<UnifiedFileLabel, 2>& labels,
                      int context)
{
    const std::vector<PatchLine> linesA = PatchLines(result.TextOf(DOC_A));
    const std::vector<PatchLine> linesB = PatchLines(result.TextOf(DOC_B));
    const std::vector<Edit> script = EditScript(result, linesA, linesB);
    const auto changed = [&](std::size_t k) { return script[k].kind != EditKind::Same; };
    context = std::max(context, 0);

    bool any = false;
    std::size_t k = 0;
    while (k < script.size()) {
        if (!changed(k)) {
            ++k;
            continue;
        }
        // A hunk: from `context` edits before the first change to `context` after the last
        // change that lies within 2 * context unchanged edits of the one before.
        const std::size_t begin = k >= static_cast<std::size_t>(context) ? k - static_cast<std::size_t>(context) : 0;
        std::size_t lastChange = k;
        for (std::size_t j = k + 1; j < script.size() && j - lastChange <= 2 * static_cast<std::size_t>(context) + 1; ++j) {
            if (changed(j))
                lastChange = j;
        }
        const std::size_t end = std::min(script.size(), lastChange + 1 + static_cast<std::size_t>(context));

        if (!any) {
            PutLabel(out, "--- ", labels[0]);
            PutLabel(out, "+++ ", labels[1]);
            any = true;
        }
        const int firstA = script[begin].a;
        const int firstB = script[begin].b;
        int countA = 0;
        int countB = 0;
        for (std::size_t j = begin; j < end; ++j) {
            countA += script[j].kind != EditKind::Added ? 1 : 0;
            countB += script[j].kind != EditKind::Removed ? 1 : 0;
        }
        out.Put("@@ -");
        PutRange(out, firstA, countA);
        out.Put(" +");
        PutRange(out, firstB, countB);
        out.Put(" @@\n");
        for (std::size_t j = begin; j < end; ++j) {
            const Edit& e = script[j];
            switch (e.kind) {
            case EditKind::Same:
                PutLine(out, ' ', PatchLineBytes(*result.TextOf(DOC_A), linesA[static_cast<std::size_t>(e.a)]));
                break;
            case EditKind::Removed:
                PutLine(out, '-', PatchLineBytes(*result.TextOf(DOC_A), linesA[static_cast<std::size_t>(e.a)]));
                break;
            case EditKind::Added:
                PutLine(out, '+', PatchLineBytes(*result.TextOf(DOC_B), linesB[static_cast<std::size_t>(e.b)]));
                break;
            }
        }
        k = end;
    }
    return any;
}

}  // namespace kl::cli
