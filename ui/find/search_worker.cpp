#include "ui/find/search_worker.h"

namespace {

void MarkFailed(kl::SearchResult& result)
{
    result.stopped = true;
}

}  // namespace

SearchWorker::SearchWorker(kl::TextPair texts, kl::SearchQuery query, StepHook hook, QObject* parent)
    : QObject(parent),
      QueuedWorker<kl::SearchResult>(
          this, &SearchWorker::progressChanged, &SearchWorker::finished, MarkFailed,
          [texts = std::move(texts), query = std::move(query)](std::stop_token stop, const Step& step) {
              return kl::FindInTexts(texts, query, stop, step);
          },
          std::move(hook))
{
}
