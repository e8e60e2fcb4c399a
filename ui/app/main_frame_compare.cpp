// Comparison runs started from the main window: start, stop, the worker's reports and the
// automatic comparison after DocB.
#include <QAction>
#include <QComboBox>
#include <QMetaObject>
#include <QProgressBar>
#include <memory>
#include <utility>

#include "engine/document/auto_compare.h"
#include "ui/app/command_ids.h"
#include "ui/app/compare_worker.h"
#include "ui/app/main_frame.h"
#include "ui/compare/preset_combo.h"
#include "engine/compare/presets.h"
#include "ui/display/splitter_snd.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/tree/left_view.h"

void CMainFrame::OnCompare(kl::CompareMode mode)
{
    compareMode = mode;
    StartCompare();
}

void CMainFrame::OnStop()
{
    if (worker_)
        worker_->RequestStop();
    StopFolderCompare();
}

void CMainFrame::StartCompare()
{
    if (!leftView())
        return;
    // Only one run exists at a time; one that is still ending is dropped first.
    CancelCompare();
    runFollowsEdits_ = false;

    // The selected preset stays in force after the run, as if chosen in the dialog.
    if (presetCombo_->count() > 0 && presetCombo_->currentIndex() >= 0)
        kl::PresetFromCode(PresetComboCode(*presetCombo_, presetCombo_->currentIndex()), doc_.compareOptions);

    kl::CompareRequest request;
    request.options = doc_.compareOptions;
    request.mode = compareMode;
    request.messages.left = doc_.leftMessage;
    request.messages.right = doc_.rightMessage;
    request.messages.positionMessages = doc_.docSettings.fDispMes != 0;

    auto worker = std::make_unique<CompareWorker>(doc_.textDoc.texts, std::move(request), compareProgressHook, this);
    connect(worker.get(), &CompareWorker::progressChanged, this, &CMainFrame::OnCompareProgress);
    connect(worker.get(), &CompareWorker::finished, this, &CMainFrame::OnCompareFinished);
    if (!worker->Start())
        return;
    worker_ = worker.release();
    progress_->setValue(0);
    progress_->show();
    UpdateCommandStates();
}

void CMainFrame::CancelCompare()
{
    if (!worker_)
        return;
    // The run reads only the shared texts, so nothing has to wait for it: it is told to
    // stop, its reports are no longer heard, and it deletes itself once it has ended.
    CompareWorker* retiring = std::exchange(worker_, nullptr);
    disconnect(retiring, nullptr, this, nullptr);
    connect(retiring, &CompareWorker::finished, retiring, &QObject::deleteLater);
    retiring->RequestStop();
    progress_->hide();
    UpdateCommandStates();
}

void CMainFrame::OnCompareProgress(int value)
{
    progress_->setValue(value);
}

void CMainFrame::OnCompareFinished(std::shared_ptr<const kl::CompareResult> result, const QString& failure)
{
    if (sender() != worker_)
        return;
    std::exchange(worker_, nullptr)->deleteLater();
    progress_->hide();
    // The runs that follow the edits add no line totals to the file tree.
    const bool followsEdits = std::exchange(runFollowsEdits_, false);
    switch (result->outcome) {
    case kl::RunOutcome::Completed:
    case kl::RunOutcome::StoppedInRows:
        // A run stopped while building rows shows the rows it built, without blocks.
        for (int k = kl::DOC_A; k <= kl::DOC_B && !followsEdits; ++k) {
            const std::string info = k < static_cast<int>(doc_.textDoc.fileInfos.size()) ? doc_.textDoc.fileInfos[k] : std::string();
            tree_->SetStatistics(k, kl::LineTotalsText(*result, k, info));
        }
        doc_.SetResult(std::move(result));
        break;
    case kl::RunOutcome::Failed:
        // The previous result stays.
        if (showError)
            showError(failure);
        break;
    case kl::RunOutcome::StoppedInMatching:
    case kl::RunOutcome::NoTexts:
        break;  // the previous result stays
    }
    UpdateCommandStates();
    RunPendingCopy();
}

// After DocB: files from the command line show the result once the window's events run,
// files opened later show it at once.
void CMainFrame::OnAutoCompare(kl::AutoCompare kind)
{
    switch (kind) {
    case kl::AutoCompare::StartAndPost:
        StartCompare();
        QMetaObject::invokeMethod(this, [this] { OnCommand(cmd::ID_VIEW_RESULT); }, Qt::QueuedConnection);
        break;
    case kl::AutoCompare::StartAndSend:
        StartCompare();
        OnCommand(cmd::ID_VIEW_RESULT);
        break;
    case kl::AutoCompare::None:
        break;
    }
}
