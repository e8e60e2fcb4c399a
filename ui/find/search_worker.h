#pragma once
// One search of the loaded texts on its own thread (the Qt side of kl::FindInTexts). The
// run reads only the shared texts and the query, both captured by value; progress and the
// matches reach the user-interface thread as queued calls.
#include <QObject>
#include <QString>
#include <memory>

#include "engine/search/text_search.h"
#include "ui/platform/queued_worker.h"

class SearchWorker : public QObject, public QueuedWorker<kl::SearchResult> {
    Q_OBJECT

public:
    // hook: see QueuedWorker::StepHook (tests hold a run with it); may be empty.
    SearchWorker(kl::TextPair texts, kl::SearchQuery query, StepHook hook = {}, QObject* parent = nullptr);

signals:
    void progressChanged(int value);
    // The run has ended; failure (Japanese) is set when it threw.
    void finished(std::shared_ptr<const kl::SearchResult> result, const QString& failure);
};
