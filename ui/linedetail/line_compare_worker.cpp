#include "ui/linedetail/line_compare_worker.h"

#include <utility>

namespace {

// Two lines of one encoding are stepped in it; lines of two encodings byte by byte as code
// page 932.
kl::TextEncoding PairEncoding(const kl::LineRef& line1, const kl::LineRef& line2)
{
    const kl::TextEncoding first = line1.text ? line1.text->encoding : kl::TextEncoding::Cp932;
    const kl::TextEncoding second = line2.text ? line2.text->encoding : kl::TextEncoding::Cp932;
    return first == second ? first : kl::TextEncoding::Cp932;
}

}  // namespace

LineCompareWorker::LineCompareWorker(kl::LineRef line1, kl::LineRef line2, StageHook stageHook, QObject* parent)
    : QObject(parent),
      QueuedWorker(
          this, &LineCompareWorker::stageChanged, &LineCompareWorker::finished,
          [](kl::LinePairResult& result) { result.aborted = true; },
          [line1 = std::move(line1), line2 = std::move(line2)](std::stop_token stop,
                                                               const kl::LineCompareStageCallback& onStage) {
              return kl::CompareLinePair(line1.bytes(), line2.bytes(), onStage, stop, PairEncoding(line1, line2));
          },
          std::move(stageHook))
{
}
