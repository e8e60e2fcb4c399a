#pragma once
// The merge dialog "自動マージ出力処理": the adding rules (which kinds of line go into the
// merged text, and the prefixes of one-sided lines), whether to ask block by block, and
// the options sheet. 実行 walks the shown comparison result and saves the merged text, or
// compares it with one of the documents in a second window. The dialog is modeless and
// lives as long as the main window, so its choices last between merges.
//
// A merge reads one result and its texts, held for as long as it runs; while it asks a
// block, the main window refuses everything that would load or compare (see querying()).
#include <QDialog>
#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "engine/compare/compare_result.h"
#include "engine/merge/merge_walk.h"
#include "engine/settings/merge_settings.h"
#include "ui/merge/after_merge.h"
#include "ui/merge/merge_prompts.h"

class CKestrilaneDoc;
class CMrgSheet;
class QCheckBox;
class QLineEdit;
class QPushButton;

// What the merge needs from the main window.
struct MergeContext {
    CKestrilaneDoc* doc = nullptr;
    std::string iniPath;
    const MergePrompts* prompts = nullptr;
    kl::MergePrefixes* prefixes = nullptr;  // the main window's, read at start-up
    // The main window's top-left corner inside its frame: the dialog's stored position is
    // that of its own top-left corner inside its frame, relative to this one, so that
    // storing and placing go by the same geometry whatever frames the desktop draws.
    std::function<QPoint()> ownerOrigin;
    std::function<void(int side, int row)> scrollToRow;
    QString program;                        // this program, for the second window
};

class CMergeSetDlg : public QDialog {
    Q_OBJECT

public:
    // Reads MERGE INS_DOCA, INS_DOCB and INTERACTIVE once, when it is made.
    CMergeSetDlg(MergeContext context, QWidget* parent);
    ~CMergeSetDlg() override;

    // The merge command: takes the main window's prefixes, places the dialog at MERGE PX/PY
    // from the main window on its first showing, shows it and enables 実行.
    void ShowForMerge();
    // 実行: merges the shown result and saves or compares it, then hides the dialog.
    void Run();

    // A block is being asked: the merge reads its result, which must not change.
    bool querying() const { return query_ != nullptr; }
    // Ends a question without an answer: the merge stops and nothing is saved.
    void AbandonQuery();
    AfterMergeFiles& afterMerge() { return afterMerge_; }

    QCheckBox* check(int id) const;
    QLineEdit* prefixEdit(int side) const { return side == 0 ? prefixA_ : prefixB_; }
    QPushButton* runButton() const { return run_; }
    CMrgSheet* sheet() const { return sheet_; }

signals:
    // querying() changed.
    void queryingChanged(bool querying);

private:
    kl::MergeRules Rules() const;
    int AskBlock(const kl::BlockQuestion& question, std::string& blockText);
    // Stores the settings; with a file asked for, saves the merged text. False when
    // something could not be written (the user has been told).
    bool SaveMerge(const std::string& merged, bool settingsOnly);

    MergeContext context_;
    kl::MergeSettings stored_;
    // The result of the merge in progress, with its texts.
    std::shared_ptr<const kl::CompareResult> running_;
    bool placed_ = false;
    QCheckBox* onlyA_ = nullptr;
    QCheckBox* prefixOnA_ = nullptr;
    QLineEdit* prefixA_ = nullptr;
    QCheckBox* onlyB_ = nullptr;
    QCheckBox* prefixOnB_ = nullptr;
    QLineEdit* prefixB_ = nullptr;
    QCheckBox* common_ = nullptr;
    QCheckBox* interactive_ = nullptr;
    CMrgSheet* sheet_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    class CDlgEditfrm* query_ = nullptr;
    QRect queryRect_{QPoint(30, 30), QPoint(400, 400)};
    AfterMergeFiles afterMerge_;
};
