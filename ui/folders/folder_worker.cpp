#include "ui/folders/folder_worker.h"

#include <utility>

FolderWorker::FolderWorker(std::string folderA, std::string folderB, kl::FolderCompareRequest request,
                           StepHook hook, QObject* parent)
    : FolderWorker(std::make_shared<Counters>(), std::move(folderA), std::move(folderB), std::move(request),
                   std::move(hook), parent)
{
}

FolderWorker::FolderWorker(std::shared_ptr<Counters> counters, std::string folderA, std::string folderB,
                           kl::FolderCompareRequest request, StepHook hook, QObject* parent)
    : QObject(parent),
      QueuedWorker(
          this, &FolderWorker::progressChanged, &FolderWorker::finished,
          [](kl::FolderTree& tree) { tree.stopped = true; },
          [a = std::move(folderA), b = std::move(folderB), request = std::move(request),
           counters](std::stop_token stop, const Step& step) {
              int posted = 0;
              return kl::CompareFolders(a, b, request, stop, [&](const kl::FolderProgress& progress) {
                  counters->seen.store(progress.seen, std::memory_order_relaxed);
                  counters->compared.store(progress.compared, std::memory_order_relaxed);
                  counters->toCompare.store(progress.toCompare, std::memory_order_relaxed);
                  step(++posted);
              });
          },
          std::move(hook)),
      counters_(std::move(counters))
{
}

kl::FolderProgress FolderWorker::progress() const
{
    kl::FolderProgress progress;
    progress.seen = counters_->seen.load(std::memory_order_relaxed);
    progress.compared = counters_->compared.load(std::memory_order_relaxed);
    progress.toCompare = counters_->toCompare.load(std::memory_order_relaxed);
    return progress;
}
