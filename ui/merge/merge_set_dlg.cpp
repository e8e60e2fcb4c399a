#include "ui/merge/merge_set_dlg.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/merge/merge_output.h"
#include "engine/platform/cp932.h"
#include "ui/display/painters.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/merge/block_text_edit.h"
#include "ui/merge/dlg_editfrm.h"
#include "ui/merge/merge_file_types.h"
#include "ui/merge/mrg_sheet.h"
#include "ui/platform/path_text.h"
#include "ui/platform/cp932_text.h"

CMergeSetDlg::CMergeSetDlg(MergeContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), stored_(kl::ReadMergeSettings(context_.iniPath))
{
    setWindowTitle(QStringLiteral(u"自動マージ出力処理"));
    setModal(false);

    auto* rules = new QGroupBox(QStringLiteral(u"基本的な追加ルール"), this);
    auto* grid = new QGridLayout(rules);
    onlyA_ = new QCheckBox(QStringLiteral(u"DocAにのみ存在する行を含める"), rules);
    prefixOnA_ = new QCheckBox(QStringLiteral(u"行頭に次の文字列を挿入する"), rules);
    prefixA_ = new QLineEdit(rules);
    onlyB_ = new QCheckBox(QStringLiteral(u"DocBにのみ存在する行を含める"), rules);
    prefixOnB_ = new QCheckBox(QStringLiteral(u"行頭に次の文字列を挿入する"), rules);
    prefixB_ = new QLineEdit(rules);
    common_ = new QCheckBox(QStringLiteral(u"共通に存在する行を含める"), rules);
    interactive_ = new QCheckBox(
        QStringLiteral(u"相違ブロックについて１ブロックごとに追加するかどうか問い合わせる"), rules);
    // Each prefix stands indented under the lines it marks.
    grid->addWidget(onlyA_, 0, 0, 1, 3);
    grid->addWidget(prefixOnA_, 1, 1);
    grid->addWidget(prefixA_, 1, 2);
    grid->addWidget(onlyB_, 2, 0, 1, 3);
    grid->addWidget(prefixOnB_, 3, 1);
    grid->addWidget(prefixB_, 3, 2);
    grid->addWidget(common_, 4, 0, 1, 3);
    grid->addWidget(interactive_, 5, 0, 1, 3);
    grid->setColumnMinimumWidth(0, 16);

    onlyA_->setChecked(true);
    onlyB_->setChecked(true);
    common_->setChecked(true);
    prefixOnA_->setChecked(stored_.insDocA != 0);
    prefixOnB_->setChecked(stored_.insDocB != 0);
    interactive_->setChecked(stored_.interactive != 0);

    sheet_ = new CMrgSheet(this);
    run_ = new QPushButton(QStringLiteral(u"実行"), this);
    cancel_ = new QPushButton(QStringLiteral(u"ｷｬﾝｾﾙ"), this);
    run_->setDefault(true);
    connect(run_, &QPushButton::clicked, this, &CMergeSetDlg::Run);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(run_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(rules, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(sheet_);
    setTabOrder(interactive_, sheet_);
}

CMergeSetDlg::~CMergeSetDlg() = default;

QCheckBox* CMergeSetDlg::check(int id) const
{
    switch (id) {
    case 1015: return onlyA_;
    case 1016: return onlyB_;
    case 1017: return common_;
    case 1018: return prefixOnA_;
    case 1020: return prefixOnB_;
    case 1030: return interactive_;
    default: return nullptr;
    }
}

void CMergeSetDlg::ShowForMerge()
{
    if (context_.prefixes) {
        prefixA_->setText(FromCp932(context_.prefixes->docA));
        prefixB_->setText(FromCp932(context_.prefixes->docB));
    }
    if (!placed_) {
        placed_ = true;
        const QPoint origin = context_.ownerOrigin ? context_.ownerOrigin() : QPoint();
        adjustSize();
        setGeometry(QRect(QPoint(origin.x() + stored_.px, std::max(origin.y() + stored_.py, 0)), size()));
    }
    run_->setEnabled(true);
    show();
    raise();
    activateWindow();
}

kl::MergeRules CMergeSetDlg::Rules() const
{
    kl::MergeRules rules;
    rules.includeOnlyA = onlyA_->isChecked();
    rules.includeOnlyB = onlyB_->isChecked();
    rules.includeCommon = common_->isChecked();
    rules.prefixOnlyA = prefixOnA_->isChecked();
    rules.prefixOnlyB = prefixOnB_->isChecked();
    rules.prefixes.docA = ToCp932(prefixA_->text());
    rules.prefixes.docB = ToCp932(prefixB_->text());
    return rules;
}

void CMergeSetDlg::Run()
{
    if (querying() || !context_.doc)
        return;
    // The merge holds this result, and through it both texts, until it has saved.
    const std::shared_ptr<const kl::CompareResult> result = context_.doc->result();
    if (!result->IsComparison()) {
        context_.prompts->showInfo(this, QStringLiteral(u"マージする比較結果がありません。先に比較を実行してください。"));
        return;
    }
    kl::AskBlockFunction ask;
    if (interactive_->isChecked()) {
        ask = [this](const kl::BlockQuestion& question, std::string& blockText) {
            return AskBlock(question, blockText);
        };
    }
    // The questions and the save read the encodings from this result, whatever the
    // document shows meanwhile.
    running_ = result;
    const std::unique_ptr<std::shared_ptr<const kl::CompareResult>, void (*)(std::shared_ptr<const kl::CompareResult>*)>
        release(&running_, [](std::shared_ptr<const kl::CompareResult>* held) { held->reset(); });
    const kl::MergeOutcome merged = kl::RunMerge(*result, Rules(), ask);
    if (merged.end == kl::MergeEnd::Abandoned)
        return;

    if (sheet_->afterMerge() == AfterMerge::SaveAs) {
        if (!SaveMerge(merged.text, false))
            return;
    } else {
        SaveMerge(merged.text, true);
        const int side = sheet_->compareDocument();
        const std::vector<std::string>& paths = context_.doc->textDoc.filePaths;
        if (static_cast<std::size_t>(side) >= paths.size()) {
            context_.prompts->showError(this, QStringLiteral(u"比較する文書のファイルがありません。"));
            return;
        }
        if (!afterMerge_.CompareMergedResult(merged.text, paths[static_cast<std::size_t>(side)], context_.program,
                                             this, *context_.prompts))
            return;
    }
    hide();
}

int CMergeSetDlg::AskBlock(const kl::BlockQuestion& question, std::string& blockText)
{
    if (sheet_->scrollToBlock() && context_.scrollToRow)
        context_.scrollToRow(question.side, question.block.firstRow);

    CDlgEditfrm::Setup setup;
    setup.title = QString::fromStdString(kl::BlockQuestionTitle(question));
    const kl::Text* text = running_->TextOf(question.side);
    const kl::TextEncoding encoding = text ? text->encoding : kl::TextEncoding::Cp932;
    setup.text = BlockTextForEditing(blockText, encoding);
    setup.firstLine = question.block.firstLineIndex;
    setup.backAllowed = question.backAllowed;
    setup.font = context_.doc->leftFont;
    setup.colors = &context_.doc->colors;
    if (sheet_->blockBackground())
        setup.background = kl::ColorFromRef(context_.doc->colors[question.side == kl::DOC_A ? kl::COLOR_DOC1 : kl::COLOR_DOC2]);

    CDlgEditfrm query(setup, this);
    query.setGeometry(QRect(queryRect_.topLeft(), queryRect_.size().expandedTo(query.minimumSize())));
    query_ = &query;
    run_->setEnabled(false);
    emit queryingChanged(true);
    if (context_.prompts->queryShown)
        QTimer::singleShot(0, &query, [this, &query] { context_.prompts->queryShown(query); });
    const int answer = query.Ask();
    if (query.edited())
        blockText = EditedBlockText(query.text(), blockText, encoding);
    queryRect_ = query.geometry();
    query_ = nullptr;
    run_->setEnabled(true);
    emit queryingChanged(false);
    return answer;
}

void CMergeSetDlg::AbandonQuery()
{
    if (query_)
        query_->Answer(kl::ANSWER_NO_WINDOW);
}

bool CMergeSetDlg::SaveMerge(const std::string& merged, bool settingsOnly)
{
    kl::MergePrefixes prefixes;
    prefixes.docA = ToCp932(prefixA_->text());
    prefixes.docB = ToCp932(prefixB_->text());
    // Only what changed here is stored: another window may have stored other values since.
    const kl::MergeSettings before = stored_;
    kl::MergePrefixes prefixesBefore;
    if (context_.prefixes) {
        prefixesBefore = *context_.prefixes;
        *context_.prefixes = prefixes;
    }
    stored_.insDocA = prefixOnA_->isChecked() ? 1 : 0;
    stored_.insDocB = prefixOnB_->isChecked() ? 1 : 0;
    stored_.interactive = interactive_->isChecked() ? 1 : 0;
    const QPoint origin = context_.ownerOrigin ? context_.ownerOrigin() : QPoint();
    stored_.px = geometry().x() - origin.x();
    stored_.py = geometry().y() - origin.y();
    const bool saved = context_.iniPath.empty() ||
                       (context_.prefixes
                            ? kl::SaveMergeSettingsChanges(context_.iniPath, before, prefixesBefore, stored_, prefixes)
                            : kl::SaveMergeSettings(context_.iniPath, stored_, prefixes));
    if (!saved) {
        context_.prompts->showError(this, QStringLiteral(u"マージの設定を「%1」に保存できませんでした。")
                                              .arg(PathText(context_.iniPath)));
    }
    if (settingsOnly)
        return true;

    const std::vector<std::string>& names = context_.doc->textDoc.fileNames;
    const MergeFileTypes types = MergeFileTypesFor(names.empty() ? QString() : QFile::decodeName(names.back().c_str()));
    // A merge of UTF-8 texts is UTF-8: the user is told before choosing where it goes.
    const kl::Text* text = running_ ? running_->TextOf(kl::DOC_A) : nullptr;
    const QString caption = text && text->encoding == kl::TextEncoding::Utf8
                                ? QStringLiteral(u"マージ結果の保存（UTF-8で保存されます）")
                                : QStringLiteral(u"マージ結果の保存");
    const QString path = context_.prompts->chooseSavePath(this, caption, types.filter, types.defaultSuffix);
    if (path.isEmpty())
        return true;
    std::string error;
    if (!kl::SaveMergedText(QFile::encodeName(path).toStdString(), merged, error)) {
        context_.prompts->showError(this, QString::fromStdString(error));
        return false;
    }
    return true;
}
