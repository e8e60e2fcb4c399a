#pragma once
// One folder comparison on its own thread. It captures both folder paths and the request by
// value and hands back a new tree; how far it got (entries seen, files compared) is read
// from the worker whenever progressChanged arrives.
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/folders/folder_compare.h"
#include "ui/platform/queued_worker.h"

class FolderWorker : public QObject, public QueuedWorker<kl::FolderTree> {
    Q_OBJECT

public:
    FolderWorker(std::string folderA, std::string folderB, kl::FolderCompareRequest request,
                 StepHook hook = {}, QObject* parent = nullptr);

    // The latest progress of the run (any thread may have written it).
    kl::FolderProgress progress() const;

signals:
    void progressChanged(int step);
    // The run has ended; a stopped run has tree->stopped set. failure is non-empty when
    // the run threw (out of memory, for instance).
    void finished(std::shared_ptr<const kl::FolderTree> tree, const QString& failure);

private:
    struct Counters;
    FolderWorker(std::shared_ptr<Counters> counters, std::string folderA, std::string folderB,
                 kl::FolderCompareRequest request, StepHook hook, QObject* parent);

    struct Counters {
        std::atomic<std::int64_t> seen{0};
        std::atomic<std::int64_t> compared{0};
        std::atomic<std::int64_t> toCompare{0};
    };
    // Written by the run, read here; shared so that the body holds them from its start.
    std::shared_ptr<Counters> counters_;
};
