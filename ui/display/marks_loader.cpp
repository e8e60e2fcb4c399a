#include "ui/display/marks_loader.h"

#include <algorithm>
#include <thread>
#include <utility>

MarksWorker::MarksWorker(std::shared_ptr<const kl::ShownRows> shown, int row, QObject* parent)
    : QObject(parent),
      QueuedWorker(
          this, &MarksWorker::stepped, &MarksWorker::finished, [](kl::RowMarks& marks) { marks.aborted = true; },
          [shown = std::move(shown), row](std::stop_token stop, const Step&) {
              return kl::MarkShownRow(*shown, row, stop);
          },
          {})
{
}

CMarksLoader::CMarksLoader(QObject* parent, int workers) : QObject(parent)
{
    constexpr int kMostWorkers = 4;
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    workerLimit_ = std::clamp(workers > 0 ? workers : processors, 1, kMostWorkers);
}

CMarksLoader::~CMarksLoader() = default;

const kl::RowMarks* CMarksLoader::Find(const kl::ShownRows& shown, int row) const
{
    if (&shown != shown_.get())
        return nullptr;
    const auto found = known_.find(row);
    return found == known_.end() ? nullptr : found->second.get();
}

void CMarksLoader::Request(const std::shared_ptr<const kl::ShownRows>& shown, int first, int last)
{
    if (shown != shown_) {
        Forget();
        shown_ = shown;
    }
    if (!shown_)
        return;
    first = std::max(first, 0);
    last = std::min(last, shown_->RowCount() - 1);
    std::deque<int> wanted;
    for (int row = first; row <= last; ++row) {
        if (shown_->IsPaired(row) && !workers_.contains(row) && !known_.contains(row))
            wanted.push_back(row);
    }
    if (wanted.empty())
        return;
    // Rows asked for before and not in view now wait behind the rows in view.
    for (int row : pending_) {
        if (row < first || row > last)
            wanted.push_back(row);
    }
    pending_ = std::move(wanted);
    StartNext();
}

void CMarksLoader::Forget()
{
    workers_.clear();
    known_.clear();
    pending_.clear();
    shown_.reset();
}

void CMarksLoader::StartNext()
{
    while (!pending_.empty() && static_cast<int>(workers_.size()) < workerLimit_) {
        const int row = pending_.front();
        pending_.pop_front();
        auto worker = std::make_unique<MarksWorker>(shown_, row);
        connect(worker.get(), &MarksWorker::finished, this,
                [this, row](std::shared_ptr<const kl::RowMarks> marks, const QString&) { OnFinished(row, marks); });
        if (!worker->Start())
            return;  // no thread now: the row is asked for again at its next paint
        workers_[row] = std::move(worker);
    }
}

void CMarksLoader::OnFinished(int row, const std::shared_ptr<const kl::RowMarks>& marks)
{
    // The worker is inside its own call: it goes once the call has returned.
    if (const auto found = workers_.find(row); found != workers_.end()) {
        found->second.release()->deleteLater();
        workers_.erase(found);
    }
    if (marks && !marks->aborted) {
        known_[row] = marks;
        emit marksReady(row);
    }
    StartNext();
}
