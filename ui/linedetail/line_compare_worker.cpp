#include "ui/linedetail/line_compare_worker.h"

#include <utility>

#include "engine/display/changed_marks.h"

LineCompareWorker::LineCompareWorker(kl::LineRef line1, kl::LineRef line2, StageHook stageHook, QObject* parent)
    : QObject(parent),
      QueuedWorker(
          this, &LineCompareWorker::stageChanged, &LineCompareWorker::finished,
          [](kl::LinePairResult& result) { result.aborted = true; },
          [line1 = std::move(line1), line2 = std::move(line2)](std::stop_token stop,
                                                               const kl::LineCompareStageCallback& onStage) {
              return kl::CompareLinePair(line1.bytes(), line2.bytes(), onStage, stop, kl::PairEncoding(line1.encoding(), line2.encoding()));
          },
          std::move(stageHook))
{
}
