#include "ui/compare/compare_set_dlg.h"

#include <utility>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QValidator>
#include <QVBoxLayout>

#include "engine/compare/line_filters.h"
#include "engine/platform/cp932.h"
#include "ui/compare/preset_combo.h"
#include "ui/platform/cp932_text.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kCodeColumn = 1;
constexpr int kNameColumnWidth = 150;
constexpr int kCodeColumnWidth = 70;
// The list items keep the code page 932 bytes of their text in this role.
constexpr int kBytesRole = Qt::UserRole;

// Accepts an empty field or one character that is a single byte in code page 932: the
// delimiter is one byte, and the first byte of a double-byte character would be a lead
// byte that never stands alone in a line.
class SingleByteCharValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty()) return Acceptable;
        const std::string bytes = ToCp932(input);
        const bool encodable = bytes != "?" || input == QStringLiteral("?");
        return bytes.size() == 1 && encodable ? Acceptable : Invalid;
    }
};

QTableWidgetItem* MakeItem(const std::string& bytes)
{
    auto* item = new QTableWidgetItem(FromCp932(bytes));
    item->setData(kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

// The non-empty lines of an edit field, in UTF-8.
std::vector<std::string> FieldLines(const QPlainTextEdit& edit)
{
    std::vector<std::string> lines;
    for (const QString& line : edit.toPlainText().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) lines.push_back(line.toStdString());
    }
    return lines;
}

std::string ItemBytes(const QTableWidgetItem* item)
{
    return item ? item->data(kBytesRole).toByteArray().toStdString() : std::string();
}

}  // namespace

CompareSetPrompts InteractiveCompareSetPrompts()
{
    CompareSetPrompts prompts;
    prompts.warnDuplicate = [](QWidget* parent) {
        QMessageBox::warning(parent, QStringLiteral(u"比較設定を追加"),
                             QStringLiteral(u"すでに同じ設定があります。"));
    };
    prompts.warnNotStored = [](QWidget* parent) {
        QMessageBox::warning(parent, QStringLiteral(u"比較方法の設定"),
                             QStringLiteral(u"比較モードの一覧を設定ファイルに保存できませんでした。"
                                            u"変更した一覧はこのプログラムを終了するまで有効です。"));
    };
    prompts.warnInvalidFilter = [](QWidget* parent, const QString& reason) {
        QMessageBox::warning(parent, QStringLiteral(u"比較方法の設定"),
                             QStringLiteral(u"フィルタを読み取れません。\n%1").arg(reason));
    };
    return prompts;
}

CCompareSetDlg::CCompareSetDlg(QComboBox& presetCombo, int selectedPreset,
                               const kl::CompareOptions& current, const std::string& iniPath,
                               QWidget* parent)
    : QDialog(parent),
      presetCombo_(presetCombo),
      iniPath_(iniPath),
      selectedPreset_(selectedPreset),
      prompts_(InteractiveCompareSetPrompts())
{
    setWindowTitle(QStringLiteral(u"比較方法の設定"));
    buildControls();
    showOptions(current);
    for (int i = 0; i < presetCombo_.count(); ++i) {
        const std::string code = PresetComboCode(presetCombo_, i);
        insertRow(presetList_->rowCount(), {kl::BuildPresetName(code), code});
    }
    openedRows_ = presetRows();
}

void CCompareSetDlg::setPrompts(CompareSetPrompts prompts)
{
    prompts_ = std::move(prompts);
}

void CCompareSetDlg::buildControls()
{
    normalRadio_ = new QRadioButton(QStringLiteral(u"通常の比較"));
    delimiterRadio_ = new QRadioButton(QStringLiteral(
        u"１行の先頭から指定した文字までと行の後ろから戻って指定した文字までのみを比較する"));
    auto* methodGroup = new QButtonGroup(this);
    methodGroup->addButton(normalRadio_, 0);
    methodGroup->addButton(delimiterRadio_, 1);

    auto* delimiterLabel = new QLabel(QStringLiteral(u"指定文字（１バイトのみ）"));
    delimiterEdit_ = new QLineEdit;
    delimiterEdit_->setMaxLength(1);
    delimiterEdit_->setValidator(new SingleByteCharValidator(delimiterEdit_));
    delimiterEdit_->setFixedWidth(delimiterEdit_->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    delimiterLabel->setBuddy(delimiterEdit_);
    auto* delimiterRow = new QHBoxLayout;
    // Indented under the text of the radio button it belongs to.
    delimiterRow->addSpacing(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                             style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing));
    delimiterRow->addWidget(delimiterLabel);
    delimiterRow->addWidget(delimiterEdit_);
    delimiterRow->addStretch();

    ignoreNewlineCheck_ = new QCheckBox(QStringLiteral(u"改行コードの違いを無視する"));
    ignoreSpaceTabCheck_ = new QCheckBox(QStringLiteral(u"タブと空白を比較対象としない"));
    wideSpaceCheck_ = new QCheckBox(QStringLiteral(u"全角スペースを半角スペース2文字に換算させる"));
    trailingSpaceCheck_ = new QCheckBox(QStringLiteral(u"行末の半角スペースを無視する"));

    auto* hint = new QLabel(QStringLiteral(u"比較の組合わせ設定を右リストに追加するとその選択行で比較されます。"));
    hint->setWordWrap(true);

    auto* optionColumn = new QVBoxLayout;
    optionColumn->addWidget(normalRadio_);
    optionColumn->addWidget(delimiterRadio_);
    optionColumn->addLayout(delimiterRow);
    optionColumn->addSpacing(fontMetrics().height());
    optionColumn->addWidget(ignoreNewlineCheck_);
    optionColumn->addWidget(ignoreSpaceTabCheck_);
    optionColumn->addWidget(wideSpaceCheck_);
    optionColumn->addWidget(trailingSpaceCheck_);
    optionColumn->addSpacing(fontMetrics().height());
    optionColumn->addWidget(hint);
    optionColumn->addStretch();

    addButton_ = new QPushButton(QStringLiteral(u"追加(&A)"));
    deleteButton_ = new QPushButton(QStringLiteral(u"削除(&D)"));
    addButton_->setAutoDefault(false);
    deleteButton_->setAutoDefault(false);
    auto* listButtons = new QVBoxLayout;
    listButtons->addStretch();
    listButtons->addWidget(addButton_);
    listButtons->addWidget(deleteButton_);
    listButtons->addStretch();

    presetList_ = new QTableWidget(0, 2);
    presetList_->setHorizontalHeaderLabels({QStringLiteral(u"比較モード名称"), QStringLiteral(u"値")});
    presetList_->setSelectionMode(QAbstractItemView::SingleSelection);
    presetList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    presetList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    presetList_->setShowGrid(true);
    presetList_->setWordWrap(false);
    presetList_->verticalHeader()->hide();
    presetList_->verticalHeader()->setDefaultSectionSize(presetList_->fontMetrics().height() + 6);
    presetList_->horizontalHeader()->setStretchLastSection(false);
    presetList_->horizontalHeader()->setHighlightSections(false);
    presetList_->setColumnWidth(kNameColumn, kNameColumnWidth);
    presetList_->setColumnWidth(kCodeColumn, kCodeColumnWidth);
    // Wide enough for both columns and a vertical scroll bar, so no column is ever cut.
    presetList_->setMinimumWidth(kNameColumnWidth + kCodeColumnWidth + 2 * presetList_->frameWidth() +
                                 presetList_->verticalScrollBar()->sizeHint().width());
    presetList_->installEventFilter(this);

    auto* body = new QHBoxLayout;
    body->addLayout(optionColumn);
    body->addLayout(listButtons);
    body->addWidget(presetList_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"キャンセル"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buildFilterControls());
    layout->addWidget(buttons);

    connect(addButton_, &QPushButton::clicked, this, &CCompareSetDlg::addPresetRow);
    connect(deleteButton_, &QPushButton::clicked, this, &CCompareSetDlg::deleteSelectedRow);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCompareSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCompareSetDlg::reject);
}

QWidget* CCompareSetDlg::buildFilterControls()
{
    auto* group = new QGroupBox(QStringLiteral(u"フィルタ"));
    ignoreCaseCheck_ = new QCheckBox(QStringLiteral(u"大文字と小文字を区別しない"));
    ignoreBlankCheck_ = new QCheckBox(QStringLiteral(u"空行を無視"));
    lineFilterCheck_ = new QCheckBox(QStringLiteral(u"行フィルタ（一致した行は比較しない。正規表現を１行に１つ）"));
    substitutionCheck_ = new QCheckBox(QStringLiteral(u"置換フィルタ（/正規表現/置換文字列/ を１行に１つ）"));
    lineFilterEdit_ = new QPlainTextEdit;
    substitutionEdit_ = new QPlainTextEdit;
    for (QPlainTextEdit* edit : {lineFilterEdit_, substitutionEdit_}) {
        edit->setTabChangesFocus(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setFixedHeight(edit->fontMetrics().height() * 4 + 2 * edit->frameWidth() + 8);
    }
    lineFilterEdit_->setPlaceholderText(QStringLiteral("^\\$Id"));
    substitutionEdit_->setPlaceholderText(QStringLiteral(u"/[0-9]{4}-[0-9]{2}-[0-9]{2}/日付/"));
    connect(lineFilterCheck_, &QCheckBox::toggled, lineFilterEdit_, &QWidget::setEnabled);
    connect(substitutionCheck_, &QCheckBox::toggled, substitutionEdit_, &QWidget::setEnabled);

    auto* grid = new QGridLayout(group);
    grid->addWidget(ignoreCaseCheck_, 0, 0);
    grid->addWidget(ignoreBlankCheck_, 0, 1);
    grid->addWidget(lineFilterCheck_, 1, 0);
    grid->addWidget(substitutionCheck_, 1, 1);
    grid->addWidget(lineFilterEdit_, 2, 0);
    grid->addWidget(substitutionEdit_, 2, 1);
    return group;
}

QString CCompareSetDlg::filterProblem() const
{
    for (const std::string& line : FieldLines(*substitutionEdit_)) {
        if (!kl::ParseSubstitution(line))
            return QStringLiteral(u"置換フィルタ: %1").arg(QString::fromStdString(line));
    }
    const std::string invalid = kl::InvalidFilterPattern(options());
    return invalid.empty() ? QString() : QString::fromStdString(invalid);
}

void CCompareSetDlg::showOptions(const kl::CompareOptions& options)
{
    (options.method == 1 ? delimiterRadio_ : normalRadio_)->setChecked(true);
    initialDelimiter_ = options.delimiter == '\0' ? std::string() : std::string(1, options.delimiter);
    initialDelimiterShown_ = FromCp932(initialDelimiter_);
    delimiterEdit_->setText(initialDelimiterShown_);
    ignoreNewlineCheck_->setChecked(options.ignoreNewline);
    ignoreSpaceTabCheck_->setChecked(options.ignoreSpaceTab);
    wideSpaceCheck_->setChecked(options.wideSpaceAsTwo != 0);
    trailingSpaceCheck_->setChecked(options.ignoreTrailingSpaces != 0);
    ignoreCaseCheck_->setChecked(options.ignoreCase);
    ignoreBlankCheck_->setChecked(options.ignoreBlankLines);
    lineFilterCheck_->setChecked(options.useLineFilters);
    substitutionCheck_->setChecked(options.useSubstitutions);
    lineFilterEdit_->setEnabled(options.useLineFilters);
    substitutionEdit_->setEnabled(options.useSubstitutions);
    QStringList lines;
    for (const std::string& filter : options.lineFilters) lines << QString::fromStdString(filter);
    lineFilterEdit_->setPlainText(lines.join(QLatin1Char('\n')));
    lines.clear();
    for (const kl::SubstitutionFilter& filter : options.substitutions)
        lines << QString::fromStdString(kl::FormatSubstitution(filter));
    substitutionEdit_->setPlainText(lines.join(QLatin1Char('\n')));
}

kl::CompareOptions CCompareSetDlg::options() const
{
    kl::CompareOptions options;
    options.method = delimiterRadio_->isChecked() ? 1 : 0;
    const std::string delimiter = delimiterText();
    options.delimiter = delimiter.empty() ? '\0' : delimiter.front();
    options.ignoreNewline = ignoreNewlineCheck_->isChecked();
    options.ignoreSpaceTab = ignoreSpaceTabCheck_->isChecked();
    options.wideSpaceAsTwo = wideSpaceCheck_->isChecked() ? 1 : 0;
    options.ignoreTrailingSpaces = trailingSpaceCheck_->isChecked() ? 1 : 0;
    options.ignoreCase = ignoreCaseCheck_->isChecked();
    options.ignoreBlankLines = ignoreBlankCheck_->isChecked();
    options.useLineFilters = lineFilterCheck_->isChecked();
    options.useSubstitutions = substitutionCheck_->isChecked();
    options.lineFilters = FieldLines(*lineFilterEdit_);
    for (const std::string& line : FieldLines(*substitutionEdit_)) {
        if (const std::optional<kl::SubstitutionFilter> filter = kl::ParseSubstitution(line))
            options.substitutions.push_back(*filter);
    }
    return options;
}

std::string CCompareSetDlg::delimiterText() const
{
    const QString shown = delimiterEdit_->text();
    if (shown == initialDelimiterShown_) return initialDelimiter_;
    return ToCp932(shown);
}

std::vector<kl::PresetRow> CCompareSetDlg::presetRows() const
{
    std::vector<kl::PresetRow> rows;
    rows.reserve(static_cast<std::size_t>(presetList_->rowCount()));
    for (int row = 0; row < presetList_->rowCount(); ++row) {
        rows.push_back({ItemBytes(presetList_->item(row, kNameColumn)),
                        ItemBytes(presetList_->item(row, kCodeColumn))});
    }
    return rows;
}

int CCompareSetDlg::selectedRow() const
{
    const QModelIndexList selected = presetList_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

int CCompareSetDlg::findCode(const std::string& code) const
{
    for (int row = 0; row < presetList_->rowCount(); ++row) {
        if (ItemBytes(presetList_->item(row, kCodeColumn)) == code) return row;
    }
    return -1;
}

void CCompareSetDlg::insertRow(int row, const kl::PresetRow& preset)
{
    presetList_->insertRow(row);
    presetList_->setItem(row, kNameColumn, MakeItem(preset.name));
    presetList_->setItem(row, kCodeColumn, MakeItem(preset.code));
}

void CCompareSetDlg::addPresetRow()
{
    const std::string code = kl::BuildPresetCode(options());
    if (findCode(code) >= 0) {
        if (prompts_.warnDuplicate) prompts_.warnDuplicate(this);
        return;
    }
    const int selected = selectedRow();
    const int row = selected >= 0 ? selected : presetList_->rowCount();
    insertRow(row, {kl::BuildPresetName(code), code});
    presetList_->selectRow(row);
    selectedPreset_ = row;
}

void CCompareSetDlg::deleteSelectedRow()
{
    const int row = selectedRow();
    if (row < 0) return;
    presetList_->removeRow(row);
    presetList_->clearSelection();
    // The remembered preset keeps pointing at the same entry; it is gone when its row is.
    if (selectedPreset_ == row) {
        selectedPreset_ = -1;
    } else if (selectedPreset_ > row) {
        --selectedPreset_;
    }
}

bool CCompareSetDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == presetList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelectedRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CCompareSetDlg::accept()
{
    if (const QString problem = filterProblem(); !problem.isEmpty()) {
        if (prompts_.warnInvalidFilter) prompts_.warnInvalidFilter(this, problem);
        return;
    }
    const int selected = selectedRow();
    if (selected >= 0) selectedPreset_ = selected;

    const std::vector<kl::PresetRow> rows = presetRows();
    if (kl::StorePresetList(iniPath_, rows, &openedRows_)) {
        // The stored list may also hold presets another window added meanwhile, so the
        // selection follows its code.
        const std::string selectedCode =
            selectedPreset_ >= 0 && selectedPreset_ < static_cast<int>(rows.size()) ? rows[selectedPreset_].code : "";
        FillPresetCombo(presetCombo_, iniPath_);
        if (selectedPreset_ >= 0 && PresetComboCode(presetCombo_, selectedPreset_) != selectedCode) {
            selectedPreset_ = -1;
            for (int i = 0; i < presetCombo_.count(); ++i) {
                if (PresetComboCode(presetCombo_, i) == selectedCode) {
                    selectedPreset_ = i;
                    break;
                }
            }
        }
    } else {
        // The list stays in force for this run even though the file keeps the old one.
        SetPresetComboItems(presetCombo_, rows);
        if (prompts_.warnNotStored) prompts_.warnNotStored(this);
    }
    if (selectedPreset_ < 0 || selectedPreset_ >= presetCombo_.count()) selectedPreset_ = -1;
    presetCombo_.setCurrentIndex(selectedPreset_);
    QDialog::accept();
}
