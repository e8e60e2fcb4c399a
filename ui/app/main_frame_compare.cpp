// Comparison runs started from the main window: start, stop, the worker's reports and the
// automatic comparison after DocB.
#include <QAction>
#include <QComboBox>
#include <QMetaObject>
#include <QProgressBar>

#include "engine/document/auto_compare.h"
#include "ui/app/command_ids.h"
#include "ui/app/compare_worker.h"
#include "ui/app/main_frame.h"
#include "ui/compare/preset_combo.h"
#include "engine/compare/presets.h"
#include "engine/compare/run_control.h"
#include "ui/display/splitter_snd.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/tree/left_view.h"

void CMainFrame::OnCompare(int mode)
{
    compareMode = mode;
    StartCompare();
}

void CMainFrame::OnStop()
{
    kl::g_abortRequested = 1;
}

void CMainFrame::StartCompare()
{
    if (!leftView())
        return;
    // Only one run exists at a time; one that is still ending is collected first.
    CancelCompare();

    if (presetCombo_->count() > 0 && presetCombo_->currentIndex() >= 0)
        kl::PresetFromCode(PresetComboCode(*presetCombo_, presetCombo_->currentIndex()),
                           kl::ProcessCompareOptions());

    CompareWorker::Settings settings;
    settings.options = kl::ProcessCompareOptions();
    settings.mode = compareMode;
    settings.leftMessage = doc_.leftMessage;
    settings.rightMessage = doc_.rightMessage;
    settings.positionMessages = doc_.docSettings.fDispMes != 0;
    settings.progressHook = compareProgressHook;

    kl::g_abortRequested = 0;
    auto worker = std::make_unique<CompareWorker>(doc_.textDoc, settings);
    connect(worker.get(), &CompareWorker::progressChanged, this, &CMainFrame::OnCompareProgress);
    connect(worker.get(), &CompareWorker::totalsReady, this, &CMainFrame::OnCompareTotals);
    connect(worker.get(), &CompareWorker::resultMerged, this, &CMainFrame::OnCompareDone);
    connect(worker.get(), &CompareWorker::finished, this, &CMainFrame::OnCompareFinished);
    // Set before the thread exists: a run with nothing to compare may end at once, and its
    // end must not be overwritten.
    kl::g_compareRunning = 1;
    if (!worker->Start()) {
        kl::g_compareRunning = 0;
        UpdateCommandStates();
        return;
    }
    worker_ = std::move(worker);
    progress_->setValue(0);
    progress_->show();
    UpdateCommandStates();
}

void CMainFrame::CancelCompare()
{
    if (!worker_)
        return;
    // Called from within the completion the worker cannot end yet; finished() collects it.
    if (!worker_->Cancel())
        return;
    worker_.reset();
    progress_->hide();
    UpdateCommandStates();
}

void CMainFrame::OnCompareProgress(int value)
{
    progress_->setValue(value);
}

void CMainFrame::OnCompareTotals(int k, const QByteArray& text)
{
    tree_->SetStatistics(k, text.toStdString());
}

// The result is in the document, and the worker waits until the views have taken it.
void CMainFrame::OnCompareDone()
{
    UpdateAllViews();
}

void CMainFrame::OnCompareFinished(bool completed, bool merged)
{
    if (sender() != worker_.get())
        return;
    worker_.release()->deleteLater();
    progress_->hide();
    // A stop that came after the rows were shown leaves them, without the block lists.
    if (!completed && merged) {
        doc_.textDoc.blocksA.clear();
        doc_.textDoc.blocksB.clear();
        UpdateAllViews();
    }
    UpdateCommandStates();
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
