// Find and go to line in the main window: the find bar below the panes, the search worker,
// and moving through the matches in the order of the shown rows.
#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

#include "engine/document/document_ops.h"
#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/find/find_bar.h"
#include "ui/find/go_to_line_dlg.h"
#include "ui/find/search_worker.h"

namespace {

constexpr int kRowsAboveTarget = 3;  // a found line stands this many rows below the top

}  // namespace

void CMainFrame::CreateFindBar()
{
    findBand_ = new QToolBar(QStringLiteral(u"検索"), this);
    findBand_->setObjectName(QStringLiteral("findBand"));
    findBand_->setMovable(false);
    findBar_ = new FindBar(findBand_);
    findBand_->addWidget(findBar_);
    addToolBar(Qt::BottomToolBarArea, findBand_);
    findBand_->hide();
    connect(findBar_, &FindBar::queryChanged, this, &CMainFrame::StartSearch);
    connect(findBar_, &FindBar::nextRequested, this, [this] { OnFindNext(true); });
    connect(findBar_, &FindBar::previousRequested, this, [this] { OnFindNext(false); });
    connect(findBar_, &FindBar::stopRequested, this, [this] {
        if (searchWorker_ && findBar_->searching())
            searchWorker_->RequestStop();
    });
    connect(findBar_, &FindBar::closed, this, [this] {
        delete std::exchange(searchWorker_, nullptr);
        EndSearching();
        findBand_->hide();
        searchResult_.reset();
        matchPlaces_.clear();
        viewState_->setFound(nullptr);
        if (leftView())
            leftView()->setFocus();
    });
    // New texts or new rows: the matches are looked for again while the bar is open.
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, [this] {
        if (findBand_->isVisible() && !findBar_->patternEdit()->text().isEmpty())
            StartSearch();
    });
}

void CMainFrame::OnFind()
{
    findBand_->show();
    findBar_->show();
    findBar_->Activate();
}

void CMainFrame::StartSearch()
{
    delete std::exchange(searchWorker_, nullptr);  // a running search is stopped and joined
    EndSearching();
    searchResult_.reset();
    matchPlaces_.clear();
    currentMatch_ = -1;
    viewState_->setFound(nullptr);
    const kl::SearchQuery query = findBar_->query();
    if (query.pattern.empty()) {
        findBar_->SetStatus({});
        return;
    }
    const std::string error = kl::SearchPatternError(query);
    if (!error.empty()) {
        findBar_->SetStatus(QString::fromStdString(error));
        return;
    }
    auto* worker = new SearchWorker(doc_.textDoc.texts, query, searchProgressHook, this);
    connect(worker, &SearchWorker::finished, this, &CMainFrame::OnSearchFinished);
    connect(worker, &SearchWorker::progressChanged, progress_, &QProgressBar::setValue);
    if (!worker->Start()) {
        delete worker;
        return;
    }
    searchWorker_ = worker;
    findBar_->SetStatus(QStringLiteral(u"検索中…"));
    findBar_->SetSearching(true);
    progress_->setValue(0);
    progress_->show();
}

void CMainFrame::EndSearching()
{
    findBar_->SetSearching(false);
    progress_->setVisible(compareActive());
}

void CMainFrame::OnSearchFinished(std::shared_ptr<const kl::SearchResult> result, const QString& failure)
{
    if (sender() != searchWorker_)
        return;
    searchWorker_->setProperty("done", true);
    EndSearching();
    if (!failure.isEmpty()) {
        findBar_->SetStatus(failure);
        return;
    }
    if (result->stopped) {
        pendingStep_ = 0;
        findBar_->SetStatus(QStringLiteral(u"中止しました"));
        statusBar()->showMessage(QStringLiteral(u"検索を中止しました。"), 4000);
        return;
    }
    searchResult_ = std::move(result);
    viewState_->setFound(searchResult_);
    matchPlaces_ = kl::MatchesInRowOrder(*leftView()->Shown(), *searchResult_);
    const std::size_t count = matchPlaces_.size();
    findBar_->SetStatus(count == 0 ? QStringLiteral(u"見つかりません") : QStringLiteral(u"%1件").arg(count));
    if (const int step = std::exchange(pendingStep_, 0); step != 0)
        OnFindNext(step > 0);
}

void CMainFrame::OnFindNext(bool forward)
{
    if (!searchResult_) {
        if (findBar_->patternEdit()->text().isEmpty()) {
            OnFind();
            return;
        }
        // The step is taken once the search has its matches.
        pendingStep_ = forward ? 1 : -1;
        if (!searchWorker_ || searchWorker_->property("done").toBool())
            StartSearch();
        return;
    }
    if (matchPlaces_.empty()) {
        statusBar()->showMessage(QStringLiteral(u"「%1」は見つかりません。").arg(findBar_->patternEdit()->text()), 4000);
        return;
    }
    // From the current match, or from the top row of the focused pane.
    int row = 0;
    int side = kl::DOC_A;
    unsigned offset = 0;
    if (currentMatch_ >= 0 && currentMatch_ < static_cast<int>(matchPlaces_.size())) {
        const kl::MatchPlace& at = matchPlaces_[static_cast<std::size_t>(currentMatch_)];
        row = at.row;
        side = at.side;
        offset = at.match.begin;
    } else {
        const CTextView* view = rightView()->hasFocus() ? static_cast<CTextView*>(rightView()) : leftView();
        row = view->lineHeight > 0 ? view->RowAtY(view->scrollTop()) : 0;
        side = forward ? kl::DOC_A : kl::DOC_B;
        if (forward)
            --row;  // a match on the top row counts as next
        else
            ++row;
    }
    bool wrapped = false;
    currentMatch_ = kl::NextMatchIndex(matchPlaces_, row, side, offset, forward, wrapped);
    if (currentMatch_ < 0)
        return;
    const kl::MatchPlace& target = matchPlaces_[static_cast<std::size_t>(currentMatch_)];
    viewState_->setCurrentMatch(target.side, target.match);
    CTextView* view = target.side == kl::DOC_A ? static_cast<CTextView*>(leftView()) : rightView();
    (target.side == kl::DOC_A ? static_cast<CTextView*>(rightView()) : leftView())->CancelSelection();
    view->SelectRange(target.row, target.match.begin, target.match.end, kRowsAboveTarget * view->lineHeight);
    const QString where = QStringLiteral(u"%1 / %2件").arg(currentMatch_ + 1).arg(matchPlaces_.size());
    statusBar()->showMessage(wrapped ? (forward ? QStringLiteral(u"末尾まで検索したので先頭から検索しました（%1）")
                                                : QStringLiteral(u"先頭まで検索したので末尾から検索しました（%1）"))
                                           .arg(where)
                                     : where,
                             4000);
}

void CMainFrame::OnGoToLine()
{
    const kl::TextDocument& text = doc_.textDoc;
    const std::array<int, 2> counts{kl::LineCount(text, kl::DOC_A), kl::LineCount(text, kl::DOC_B)};
    GoToLineDlg dialog(counts, rightView()->hasFocus() ? kl::DOC_B : kl::DOC_A, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const GoToLineRequest request = dialog.request();
    CTextView* view = request.side == kl::DOC_A ? static_cast<CTextView*>(leftView()) : rightView();
    const std::shared_ptr<const kl::ShownRows> shown = view->Shown();
    const std::vector<int> rows = kl::RowOfEachLine(*shown, request.side);
    const int row = request.line - 1 < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(request.line - 1)] : kl::kNoLine;
    if (row == kl::kNoLine) {
        statusBar()->showMessage(QStringLiteral(u"%1行目は表示されていません。").arg(request.line), 4000);
        return;
    }
    (request.side == kl::DOC_A ? static_cast<CTextView*>(rightView()) : leftView())->CancelSelection();
    view->SelectRange(row, 0, std::string::npos, kRowsAboveTarget * view->lineHeight);
    view->setFocus();
}
