// A whole comparison of two fuzzed texts under fuzzed options, then merges of its result.
// The rows hold every line of each side once and in order, paired rows hold equal lines,
// blocks and partner links stay in range. A merge that adds every block it asks about
// gives the plain merge, one that skips them all the merge without one-sided blocks, and
// a walk with random answers (backs included) the text its final answers give.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/compare/lines_equal.h"
#include "engine/document/text_loader.h"
#include "engine/merge/merge_walk.h"
#include "fuzz/fuzz_check.h"

namespace {

using kl::CompareResult;
using kl::DisplayRow;
using kl::DiffBlock;

int LineCount(const CompareResult& result, int side)
{
    return result.TextOf(side)->count();
}

bool LinesMatch(const CompareResult& result, int lineA, int lineB, const kl::CompareOptions& options)
{
    const std::string_view a = result.TextOf(kl::DOC_A)->text(lineA);
    const std::string_view b = result.TextOf(kl::DOC_B)->text(lineB);
    // The test is not symmetric; either pass may have linked the pair.
    return kl::LinesEqual(a, b, options) == 0 || kl::LinesEqual(b, a, options) == 0;
}

void CheckRows(const CompareResult& result, const kl::CompareOptions& options)
{
    const std::vector<DisplayRow>& rowsA = result.Rows(kl::DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(kl::DOC_B);
    FUZZ_CHECK(rowsA.size() == rowsB.size());
    const int countA = LineCount(result, kl::DOC_A);
    const int countB = LineCount(result, kl::DOC_B);
    int nextA = 0;
    int nextB = 0;
    std::string scratch;
    for (std::size_t r = 0; r < rowsA.size(); ++r) {
        const DisplayRow& a = rowsA[r];
        const DisplayRow& b = rowsB[r];
        for (int side = kl::DOC_A; side <= kl::DOC_B; ++side) {
            const DisplayRow& row = side == kl::DOC_A ? a : b;
            FUZZ_CHECK((row.kind == kl::ROW_FILLER) == (row.lineIndex == kl::kNoLine));
            FUZZ_CHECK((row.message == kl::RowMessage::None) == (row.lineIndex != kl::kNoLine));
            if (row.lineIndex != kl::kNoLine) {
                // Each line once, in order.
                int& next = side == kl::DOC_A ? nextA : nextB;
                FUZZ_CHECK(row.lineIndex == next);
                ++next;
                FUZZ_CHECK(kl::RowText(result, side, row, scratch) == result.TextOf(side)->text(row.lineIndex));
            } else {
                kl::RowText(result, side, row, scratch);
            }
        }
        if (a.kind == kl::ROW_COMMON && b.kind == kl::ROW_COMMON) {
            FUZZ_CHECK(LinesMatch(result, a.lineIndex, b.lineIndex, options));
        } else if (a.kind == kl::ROW_COMMON) {
            // A line found elsewhere in DocB: the filler names its partner.
            FUZZ_CHECK(b.kind == kl::ROW_FILLER);
            FUZZ_CHECK(b.message == kl::RowMessage::PartnerAbove || b.message == kl::RowMessage::PartnerBelow ||
                       b.message == kl::RowMessage::RightNumbered);
            FUZZ_CHECK(0 <= b.partnerLine && b.partnerLine < countB);
            FUZZ_CHECK(LinesMatch(result, a.lineIndex, b.partnerLine, options));
        } else if (a.kind == kl::ROW_ONLY_A) {
            FUZZ_CHECK(b.kind == kl::ROW_FILLER && b.message == kl::RowMessage::Right);
        } else {
            FUZZ_CHECK(a.kind == kl::ROW_FILLER && a.message == kl::RowMessage::Left && b.kind == kl::ROW_ONLY_B);
        }
    }
    FUZZ_CHECK(nextA == countA && nextB == countB);
}

// The row kind a block's lines stand in, in the block's own column.
kl::RowKind RowKindOf(std::int32_t blockKind)
{
    return blockKind == kl::BLOCK_COMMON ? kl::ROW_COMMON : blockKind == kl::BLOCK_ONLY_A ? kl::ROW_ONLY_A : kl::ROW_ONLY_B;
}

void CheckBlocks(const CompareResult& result, int side)
{
    const std::vector<DiffBlock>& blocks = result.Blocks(side);
    const std::vector<DisplayRow>& rows = result.Rows(side);
    const int count = LineCount(result, side);
    // Row of each line of the side.
    std::vector<std::size_t> rowOf(static_cast<std::size_t>(count));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].lineIndex != kl::kNoLine)
            rowOf[static_cast<std::size_t>(rows[r].lineIndex)] = r;
    }
    int lines = 0;
    int lastRow = 0;
    const std::int32_t ownOnly = side == kl::DOC_A ? kl::BLOCK_ONLY_A : kl::BLOCK_ONLY_B;
    for (const DiffBlock& block : blocks) {
        FUZZ_CHECK(block.kind == kl::BLOCK_NONE || block.kind == kl::BLOCK_COMMON || block.kind == ownOnly);
        FUZZ_CHECK(-1 <= block.firstLineIndex && block.firstLineIndex < count);
        FUZZ_CHECK(-1 <= block.lastLineIndex && block.lastLineIndex < count);
        FUZZ_CHECK(block.lineCount >= 0);
        FUZZ_CHECK(lastRow <= block.firstRow && static_cast<std::size_t>(block.firstRow) <= rows.size());
        lastRow = block.firstRow;
        lines += block.lineCount;
        if (block.lineCount == 0)
            continue;
        // The block's lines follow one another from its first row on, in rows of its kind,
        // and the merge reaches all of them before lastLineIndex stops it.
        FUZZ_CHECK(block.kind != kl::BLOCK_NONE);
        FUZZ_CHECK(block.firstLineIndex >= 0 && block.firstLineIndex + block.lineCount <= count);
        FUZZ_CHECK(block.lastLineIndex >= block.firstLineIndex + block.lineCount - 1);
        FUZZ_CHECK(rowOf[static_cast<std::size_t>(block.firstLineIndex)] >= static_cast<std::size_t>(block.firstRow));
        for (int k = 0; k < block.lineCount; ++k)
            FUZZ_CHECK(rows[rowOf[static_cast<std::size_t>(block.firstLineIndex + k)]].kind == RowKindOf(block.kind));
    }
    FUZZ_CHECK(lines == count);
}

void CheckMatchFields(const CompareResult& result, int side)
{
    const kl::SideResult& own = result.sides[static_cast<std::size_t>(side)];
    const int count = LineCount(result, side);
    const int otherCount = LineCount(result, 1 - side);
    FUZZ_CHECK(own.blockSize.size() == static_cast<std::size_t>(count));
    FUZZ_CHECK(own.partnerSlots.size() == static_cast<std::size_t>(count));
    for (int line = 0; line < count; ++line) {
        FUZZ_CHECK(own.blockSize[static_cast<std::size_t>(line)] >= 0);
        for (std::int32_t partner : own.partnerLines.Of(line))
            FUZZ_CHECK(0 <= partner && partner < otherCount);
        for (std::int32_t partner : own.partnerSlots[line])
            FUZZ_CHECK(partner == kl::kNoLine || (0 <= partner && partner < otherCount));
    }
}

// One answer of the user, as the walk is to take it.
struct Decision {
    int answer;
    std::string text;
};

int AnswerOf(std::uint8_t byte)
{
    switch (byte % 8) {
    case 4:
    case 5: return kl::ANSWER_SKIP;
    case 6: return kl::ANSWER_BACK;
    case 7: return byte == 0xFF ? kl::ANSWER_NO_WINDOW : kl::ANSWER_STOP;
    default: return kl::ANSWER_ADD;
    }
}

void CheckQuestion(const CompareResult& result, const kl::BlockQuestion& question)
{
    const std::vector<DiffBlock>& blocks = result.Blocks(question.side);
    FUZZ_CHECK(0 <= question.listIndex && static_cast<std::size_t>(question.listIndex) < blocks.size());
    FUZZ_CHECK(question.block.kind == (question.side == kl::DOC_A ? kl::BLOCK_ONLY_A : kl::BLOCK_ONLY_B));
    FUZZ_CHECK(question.block.firstLineIndex == blocks[static_cast<std::size_t>(question.listIndex)].firstLineIndex);
}

void CheckMerges(const CompareResult& result, const kl::MergeRules& rules, const std::vector<std::uint8_t>& answers)
{
    const kl::MergeOutcome plain = kl::RunMerge(result, rules);
    FUZZ_CHECK(plain.end == kl::MergeEnd::Completed);

    const kl::MergeOutcome addAll = kl::RunMerge(result, rules, [&](const kl::BlockQuestion& question, std::string&) {
        CheckQuestion(result, question);
        return static_cast<int>(kl::ANSWER_ADD);
    });
    FUZZ_CHECK(addAll.end == kl::MergeEnd::Completed && addAll.text == plain.text);

    kl::MergeRules noOneSided = rules;
    noOneSided.includeOnlyA = false;
    noOneSided.includeOnlyB = false;
    const kl::MergeOutcome skipAll = kl::RunMerge(result, rules, [](const kl::BlockQuestion&, std::string&) {
        return static_cast<int>(kl::ANSWER_SKIP);
    });
    FUZZ_CHECK(skipAll.end == kl::MergeEnd::Completed && skipAll.text == kl::RunMerge(result, noOneSided).text);

    // Random answers; the last answer each block got is what counts.
    std::map<std::pair<int, int>, Decision> last;
    std::size_t next = 0;
    const kl::MergeOutcome walked = kl::RunMerge(result, rules, [&](const kl::BlockQuestion& question, std::string& text) {
        CheckQuestion(result, question);
        const std::uint8_t byte = next < answers.size() ? answers[next] : 0;
        ++next;
        const int answer = AnswerOf(byte);
        if (byte % 8 == 3)
            text = "edited " + std::to_string(next) + "\n";
        if (answer != kl::ANSWER_BACK)
            last[{question.side, question.listIndex}] = Decision{answer, text};
        return answer;
    });
    if (walked.end == kl::MergeEnd::Abandoned) {
        FUZZ_CHECK(walked.text.empty());
        return;
    }
    const kl::MergeOutcome replayed = kl::RunMerge(result, rules, [&](const kl::BlockQuestion& question, std::string& text) {
        const auto found = last.find({question.side, question.listIndex});
        FUZZ_CHECK(found != last.end());
        text = found->second.text;
        return found->second.answer;
    });
    FUZZ_CHECK(replayed.end == walked.end && replayed.text == walked.text);
}

std::shared_ptr<const kl::Text> Load(FuzzedDataProvider& provider, std::size_t maxSize)
{
    const auto choice = static_cast<kl::EncodingChoice>(provider.ConsumeIntegralInRange<int>(0, 3));
    const bool eucChg = provider.ConsumeBool();
    const std::string bytes = provider.ConsumeRandomLengthString(maxSize);
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, eucChg, choice));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    kl::CompareRequest request;
    kl::CompareOptions& options = request.options;
    options.method = provider.ConsumeIntegralInRange<int>(0, 1);
    options.delimiter = provider.ConsumeIntegral<char>();
    options.ignoreNewline = provider.ConsumeBool();
    options.ignoreSpaceTab = provider.ConsumeBool();
    options.wideSpaceAsTwo = provider.ConsumeBool() ? 1 : 0;
    options.ignoreTrailingSpaces = provider.ConsumeBool() ? 1 : 0;
    request.mode = static_cast<kl::CompareMode>(provider.ConsumeIntegralInRange<int>(kl::COMPARE_DETAILED, kl::COMPARE_MINIMAL));
    request.messages.positionMessages = provider.ConsumeBool();
    if (provider.ConsumeBool())
        request.messages.right = "R%d%s%n";
    kl::MergeRules rules;
    rules.includeOnlyA = provider.ConsumeBool();
    rules.includeOnlyB = provider.ConsumeBool();
    rules.includeCommon = provider.ConsumeBool();
    rules.prefixOnlyA = provider.ConsumeBool();
    rules.prefixOnlyB = provider.ConsumeBool();
    const bool toUtf8 = provider.ConsumeBool();

    kl::TextPair texts{Load(provider, size), Load(provider, size)};
    // As the program does when one text is UTF-8: the other is read as UTF-8 too.
    if (toUtf8 && texts[0]->encoding != texts[1]->encoding) {
        const int cp932 = texts[0]->encoding == kl::TextEncoding::Cp932 ? 0 : 1;
        texts[static_cast<std::size_t>(cp932)] = std::make_shared<const kl::Text>(kl::ConvertedToUtf8(*texts[static_cast<std::size_t>(cp932)]));
    }
    const std::vector<std::uint8_t> answers = provider.ConsumeRemainingBytes<std::uint8_t>();

    const CompareResult result = kl::Compare(texts, request);
    FUZZ_CHECK(result.outcome == kl::RunOutcome::Completed);
    options.encoding = texts[0]->encoding == texts[1]->encoding ? texts[0]->encoding : kl::TextEncoding::Cp932;
    CheckRows(result, options);
    for (int side = kl::DOC_A; side <= kl::DOC_B; ++side) {
        CheckBlocks(result, side);
        CheckMatchFields(result, side);
    }
    CheckMerges(result, rules, answers);
    return 0;
}
