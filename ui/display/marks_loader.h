#pragma once
// The changed characters of the paired display, found off the user-interface thread. The
// views ask for the changed rows they show; the loader compares them one row per worker, a
// few workers at a time, the rows asked for last (those in view) first, and keeps the
// answers with the rows they belong to until other rows are shown. Painting never waits: a row without its marks yet is
// painted without them, and marksReady asks for a repaint once they come.
#include <QObject>
#include <QString>
#include <deque>
#include <memory>
#include <unordered_map>

#include "engine/display/changed_marks.h"
#include "engine/display/shown_rows.h"
#include "ui/platform/queued_worker.h"

// The comparison of one changed row on its own thread.
class MarksWorker : public QObject, public QueuedWorker<kl::RowMarks> {
    Q_OBJECT

public:
    MarksWorker(std::shared_ptr<const kl::ShownRows> shown, int row, QObject* parent = nullptr);

signals:
    void stepped(int step);
    void finished(std::shared_ptr<const kl::RowMarks> marks, const QString& failure);
};

class CMarksLoader : public QObject {
    Q_OBJECT

public:
    // workers: how many rows are compared at once; 0 for one per processor, at most four.
    explicit CMarksLoader(QObject* parent = nullptr, int workers = 0);
    ~CMarksLoader() override;

    // The marks of row of shown, or null while they are not known.
    const kl::RowMarks* Find(const kl::ShownRows& shown, int row) const;
    // Asks for the changed rows first..last of shown that are not known yet; they go before
    // any row asked for earlier. Rows of other ShownRows are forgotten.
    void Request(const std::shared_ptr<const kl::ShownRows>& shown, int first, int last);
    // Stops the comparison in progress and lets go of every row and mark.
    void Forget();
    // Rows asked for and not yet compared, the one in progress included.
    int pendingCount() const { return static_cast<int>(pending_.size() + workers_.size()); }

signals:
    void marksReady(int row);

private:
    void StartNext();
    void OnFinished(int row, const std::shared_ptr<const kl::RowMarks>& marks);

    std::shared_ptr<const kl::ShownRows> shown_;
    std::unordered_map<int, std::shared_ptr<const kl::RowMarks>> known_;
    std::deque<int> pending_;
    std::unordered_map<int, std::unique_ptr<MarksWorker>> workers_;  // by row
    int workerLimit_ = 1;
};
