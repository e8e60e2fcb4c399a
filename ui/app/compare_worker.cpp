#include "ui/app/compare_worker.h"

#include <utility>

CompareWorker::CompareWorker(kl::TextPair texts, kl::CompareRequest request, ProgressHook progressHook,
                             QObject* parent)
    : QObject(parent),
      QueuedWorker(
          this, &CompareWorker::progressChanged, &CompareWorker::finished,
          [](kl::CompareResult& result) { result.outcome = kl::RunOutcome::Failed; },
          [texts = std::move(texts), request = std::move(request)](std::stop_token stop,
                                                                   const kl::ProgressCallback& progress) {
              return kl::Compare(texts, request, stop, progress);
          },
          std::move(progressHook))
{
}
