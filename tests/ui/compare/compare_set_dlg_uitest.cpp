#include "ui/compare/compare_set_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QValidator>

#include "ui/compare/preset_combo.h"
#include "engine/compare/presets.h"
#include "engine/platform/cp932.h"
#include "engine/platform/private_profile.h"
#include "tests/support/temp_dir.h"

namespace {

using kl::CompareOptions;

const QString kNormalRadio = QStringLiteral(u"通常の比較");
const QString kDelimiterRadio = QStringLiteral(
    u"１行の先頭から指定した文字までと行の後ろから戻って指定した文字までのみを比較する");
const QString kNewlineCheck = QStringLiteral(u"改行コードの違いを無視する");
const QString kSpaceTabCheck = QStringLiteral(u"タブと空白を比較対象としない");
const QString kWideSpaceCheck = QStringLiteral(u"全角スペースを半角スペース2文字に換算させる");
const QString kTrailingCheck = QStringLiteral(u"行末の半角スペースを無視する");
const QString kAddButton = QStringLiteral(u"追加(&A)");
const QString kDeleteButton = QStringLiteral(u"削除(&D)");

template <typename Button>
Button* FindButton(const QWidget& parent, const QString& text)
{
    for (Button* button : parent.findChildren<Button*>()) {
        if (button->text() == text) return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

// Code given as five digits, the delimiter separately.
CompareOptions OptionsOf(const char* code, char delimiter = '"')
{
    CompareOptions options;
    kl::PresetFromCode(code, options);
    options.delimiter = delimiter;
    return options;
}

// A dialog on a settings file in a temporary folder, with the main window's combo box
// filled from it, and warnings counted instead of shown.
class CompareSetDlgTest : public ::testing::Test {
protected:
    void StorePresets(const std::vector<std::string>& codes)
    {
        std::vector<kl::PresetRow> rows;
        for (const std::string& code : codes) rows.push_back({kl::BuildPresetName(code), code});
        ASSERT_TRUE(kl::StorePresetList(ini, rows));
        FillPresetCombo(combo, ini);
    }

    std::unique_ptr<CCompareSetDlg> Open(const CompareOptions& options = {}, int selected = -1)
    {
        auto dlg = std::make_unique<CCompareSetDlg>(combo, selected, options, ini);
        CompareSetPrompts prompts;
        prompts.warnDuplicate = [this](QWidget*) { ++duplicateWarnings; };
        prompts.warnNotStored = [this](QWidget*) { ++notStoredWarnings; };
        dlg->setPrompts(prompts);
        return dlg;
    }

    // Sets the five switches of code on the dialog's controls.
    static void SetControls(const QWidget& dlg, const std::string& code)
    {
        FindButton<QRadioButton>(dlg, code[0] == '1' ? kDelimiterRadio : kNormalRadio)->setChecked(true);
        FindButton<QCheckBox>(dlg, kNewlineCheck)->setChecked(code[1] == '1');
        FindButton<QCheckBox>(dlg, kSpaceTabCheck)->setChecked(code[2] == '1');
        FindButton<QCheckBox>(dlg, kWideSpaceCheck)->setChecked(code[3] == '1');
        FindButton<QCheckBox>(dlg, kTrailingCheck)->setChecked(code[4] == '1');
    }

    static void Add(const QWidget& dlg, const std::string& code)
    {
        SetControls(dlg, code);
        FindButton<QPushButton>(dlg, kAddButton)->click();
    }

    static QTableWidget& List(const QWidget& dlg) { return *dlg.findChild<QTableWidget*>(); }

    static std::vector<std::string> Codes(const CCompareSetDlg& dlg)
    {
        std::vector<std::string> codes;
        for (const kl::PresetRow& row : dlg.presetRows()) codes.push_back(row.code);
        return codes;
    }

    static std::vector<QString> ComboTexts(const QComboBox& box)
    {
        std::vector<QString> texts;
        for (int i = 0; i < box.count(); ++i) texts.push_back(box.itemText(i));
        return texts;
    }

    std::string Stored(const std::string& key) const
    {
        return kl::ReadIniString(ini, "COMPMODE", key, "<none>", 100);
    }

    kltest::TempDir dir;
    std::string ini = dir.file("kestrilane.ini");
    QComboBox combo;
    int duplicateWarnings = 0;
    int notStoredWarnings = 0;
};

TEST_F(CompareSetDlgTest, RowsComeFromTheComboItems)
{
    // A hand-written name in the file is replaced by the name generated from the code.
    ASSERT_TRUE(kl::StorePresetList(ini, {{kl::Utf8ToCp932("自分用"), "10101"}, {"n", "00010"}}));
    FillPresetCombo(combo, ini);
    auto dlg = Open();
    const std::vector<kl::PresetRow> rows = dlg->presetRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].code, "10101");
    EXPECT_EQ(rows[0].name, kl::Utf8ToCp932("部分-タ末"));
    EXPECT_EQ(rows[1].code, "00010");
    EXPECT_EQ(List(*dlg).item(0, 0)->text(), QStringLiteral(u"部分-タ末"));
    EXPECT_EQ(List(*dlg).item(1, 1)->text(), QStringLiteral("00010"));
    EXPECT_TRUE(List(*dlg).selectionModel()->selectedRows().isEmpty());
}

TEST_F(CompareSetDlgTest, DuplicateIsRefused)
{
    StorePresets({"00000", "10101"});
    auto dlg = Open();
    Add(*dlg, "10101");
    EXPECT_EQ(duplicateWarnings, 1);
    EXPECT_EQ(Codes(*dlg), (std::vector<std::string>{"00000", "10101"}));
    Add(*dlg, "00000");
    EXPECT_EQ(duplicateWarnings, 2);
    EXPECT_EQ(List(*dlg).rowCount(), 2);
}

TEST_F(CompareSetDlgTest, AddAfterDeleteSucceeds)
{
    StorePresets({"00000", "10101", "01000"});
    auto dlg = Open();
    List(*dlg).selectRow(1);
    FindButton<QPushButton>(*dlg, kDeleteButton)->click();
    EXPECT_EQ(Codes(*dlg), (std::vector<std::string>{"00000", "01000"}));

    // Nothing is selected after a delete, so the row goes to the end.
    Add(*dlg, "10101");
    EXPECT_EQ(duplicateWarnings, 0);
    EXPECT_EQ(Codes(*dlg), (std::vector<std::string>{"00000", "01000", "10101"}));
}

TEST_F(CompareSetDlgTest, DeleteKeyInTheListRemovesTheSelectedRow)
{
    StorePresets({"00000", "10101"});
    auto dlg = Open();
    QTableWidget& list = List(*dlg);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);

    QApplication::sendEvent(&list, &press);  // nothing selected: nothing happens
    EXPECT_EQ(list.rowCount(), 2);

    list.selectRow(0);
    QApplication::sendEvent(&list, &press);
    EXPECT_EQ(Codes(*dlg), (std::vector<std::string>{"10101"}));
}

TEST_F(CompareSetDlgTest, AddInsertsAtTheSelectedRowAndSelectsIt)
{
    StorePresets({"00000", "10101", "01000"});
    auto dlg = Open({}, 2);
    List(*dlg).selectRow(1);
    Add(*dlg, "00011");
    EXPECT_EQ(Codes(*dlg), (std::vector<std::string>{"00000", "00011", "10101", "01000"}));
    const QModelIndexList selected = List(*dlg).selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().row(), 1);
    EXPECT_EQ(dlg->selectedPreset(), 1);
}

TEST_F(CompareSetDlgTest, OkWithThreeRowsStoresThemInListOrder)
{
    auto dlg = Open();
    // Each new row is selected, so the next one goes in front of it.
    Add(*dlg, "00000");
    Add(*dlg, "10101");
    Add(*dlg, "01000");
    dlg->accept();

    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Stored("COUNT"), "3");
    EXPECT_EQ(Stored("0"), kl::Utf8ToCp932("通常-改,01000"));
    EXPECT_EQ(Stored("1"), kl::Utf8ToCp932("部分-タ末,10101"));
    EXPECT_EQ(Stored("2"), kl::Utf8ToCp932("通常-,00000"));
    EXPECT_EQ(Stored("3"), "<none>");
    EXPECT_EQ(ComboTexts(combo), (std::vector<QString>{QStringLiteral(u"通常-改 (01000)"),
                                                      QStringLiteral(u"部分-タ末 (10101)"),
                                                      QStringLiteral(u"通常- (00000)")}));
    // The last added row is still selected, so it becomes the selected preset.
    EXPECT_EQ(dlg->selectedPreset(), 0);
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST_F(CompareSetDlgTest, OkWithAllRowsDeletedEmptiesTheList)
{
    StorePresets({"00000", "10101"});
    combo.setCurrentIndex(1);
    auto dlg = Open({}, 1);
    for (int i = 0; i < 2; ++i) {
        List(*dlg).selectRow(0);
        FindButton<QPushButton>(*dlg, kDeleteButton)->click();
    }
    dlg->accept();

    EXPECT_EQ(Stored("COUNT"), "0");
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(dlg->selectedPreset(), -1);
    // The old keys stay behind COUNT, where nothing reads them.
    EXPECT_TRUE(kl::LoadPresetList(ini).empty());
}

struct SelectionCase {
    const char* label;
    int given;          // selected preset handed to the dialog
    int deleteRow;      // row deleted before OK, -1 for none
    int selectAtOk;     // row selected in the list at OK, -1 for none
    int expected;
};

void PrintTo(const SelectionCase& c, std::ostream* os) { *os << c.label; }

class SelectedPresetTable : public CompareSetDlgTest,
                            public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectedPresetTable, FollowsItsEntry)
{
    const SelectionCase& c = GetParam();
    StorePresets({"00000", "10101", "01000"});
    auto dlg = Open({}, c.given);
    if (c.deleteRow >= 0) {
        List(*dlg).selectRow(c.deleteRow);
        FindButton<QPushButton>(*dlg, kDeleteButton)->click();
    }
    if (c.selectAtOk >= 0) List(*dlg).selectRow(c.selectAtOk);
    dlg->accept();
    EXPECT_EQ(dlg->selectedPreset(), c.expected);
    EXPECT_EQ(combo.currentIndex(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectedPresetTable, ::testing::Values(
    SelectionCase{"kept", 2, -1, -1, 2},
    SelectionCase{"none", -1, -1, -1, -1},
    SelectionCase{"beyond the list", 7, -1, -1, -1},
    SelectionCase{"row above deleted", 2, 0, -1, 1},
    SelectionCase{"row below deleted", 0, 2, -1, 0},
    SelectionCase{"its own row deleted", 1, 1, -1, -1},
    SelectionCase{"row selected at OK", 0, -1, 2, 2}));

TEST_F(CompareSetDlgTest, CancelChangesNothing)
{
    StorePresets({"00000", "10101"});
    combo.setCurrentIndex(1);
    const std::string before = kltest::ReadFileBytes(ini);
    const std::vector<QString> comboBefore = ComboTexts(combo);

    auto dlg = Open();
    Add(*dlg, "11111");
    List(*dlg).selectRow(0);
    FindButton<QPushButton>(*dlg, kDeleteButton)->click();
    dlg->reject();

    EXPECT_EQ(kltest::ReadFileBytes(ini), before);
    EXPECT_EQ(ComboTexts(combo), comboBefore);
    EXPECT_EQ(combo.currentIndex(), 1);
}

TEST_F(CompareSetDlgTest, UnwritableSettingsFileKeepsTheListForThisRun)
{
    ini = dir.file("no-such-folder/kestrilane.ini");
    auto dlg = Open();
    Add(*dlg, "00100");
    dlg->accept();
    EXPECT_EQ(notStoredWarnings, 1);
    EXPECT_EQ(ComboTexts(combo), (std::vector<QString>{QStringLiteral(u"通常-タ (00100)")}));
    EXPECT_EQ(combo.currentIndex(), 0);
}

struct OptionsCase {
    const char* label;
    CompareOptions options;
};

void PrintTo(const OptionsCase& c, std::ostream* os) { *os << c.label; }

class OptionsTable : public CompareSetDlgTest, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsTable, ControlsStartFromTheOptionsAndGiveThemBack)
{
    const CompareOptions& given = GetParam().options;
    auto dlg = Open(given);
    EXPECT_EQ(FindButton<QRadioButton>(*dlg, kDelimiterRadio)->isChecked(), given.method == 1);
    EXPECT_EQ(FindButton<QRadioButton>(*dlg, kNormalRadio)->isChecked(), given.method != 1);
    EXPECT_EQ(FindButton<QCheckBox>(*dlg, kNewlineCheck)->isChecked(), given.ignoreNewline);
    EXPECT_EQ(FindButton<QCheckBox>(*dlg, kSpaceTabCheck)->isChecked(), given.ignoreSpaceTab);
    EXPECT_EQ(FindButton<QCheckBox>(*dlg, kWideSpaceCheck)->isChecked(), given.wideSpaceAsTwo != 0);
    EXPECT_EQ(FindButton<QCheckBox>(*dlg, kTrailingCheck)->isChecked(), given.ignoreTrailingSpaces != 0);

    const CompareOptions back = dlg->options();
    EXPECT_EQ(back.method, given.method == 1 ? 1 : 0);
    EXPECT_EQ(back.delimiter, given.delimiter);
    EXPECT_EQ(back.ignoreNewline, given.ignoreNewline);
    EXPECT_EQ(back.ignoreSpaceTab, given.ignoreSpaceTab);
    EXPECT_EQ(back.wideSpaceAsTwo, given.wideSpaceAsTwo != 0 ? 1 : 0);
    EXPECT_EQ(back.ignoreTrailingSpaces, given.ignoreTrailingSpaces != 0 ? 1 : 0);
    EXPECT_EQ(dlg->delimiterText(), given.delimiter ? std::string(1, given.delimiter) : "");
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsTable, ::testing::Values(
    OptionsCase{"defaults", CompareOptions{}},
    OptionsCase{"all on", OptionsOf("11111", ':')},
    OptionsCase{"alternate", OptionsOf("10101", '\t')},
    OptionsCase{"other alternate", OptionsOf("01010", ',')},
    OptionsCase{"no delimiter", OptionsOf("10000", '\0')},
    OptionsCase{"half-width katakana delimiter", OptionsOf("10000", '\xB1')},
    // A lone lead byte has no character to show; it is kept unless the field is changed.
    OptionsCase{"lead byte delimiter", OptionsOf("10000", '\x82')},
    OptionsCase{"method beyond 1 is normal", CompareOptions{2, '"', true, false, 3, 0}}));

TEST_F(CompareSetDlgTest, OptionsFollowTheControls)
{
    auto dlg = Open();
    SetControls(*dlg, "10110");
    auto* edit = dlg->findChild<QLineEdit*>();
    edit->setText(QStringLiteral("#"));
    CompareOptions options = dlg->options();
    EXPECT_EQ(kl::BuildPresetCode(options), "10110");
    EXPECT_EQ(options.delimiter, '#');
    EXPECT_EQ(dlg->delimiterText(), "#");

    edit->setText(QStringLiteral(u"ｱ"));
    EXPECT_EQ(dlg->delimiterText(), "\xB1");
    EXPECT_EQ(dlg->options().delimiter, '\xB1');

    edit->clear();
    EXPECT_EQ(dlg->delimiterText(), "");
    EXPECT_EQ(dlg->options().delimiter, '\0');
}

TEST_F(CompareSetDlgTest, DelimiterFieldTakesOneSingleByteCharacter)
{
    auto dlg = Open();
    auto* edit = dlg->findChild<QLineEdit*>();
    EXPECT_EQ(edit->maxLength(), 1);
    const QValidator* validator = edit->validator();
    ASSERT_NE(validator, nullptr);
    struct Case {
        QString text;
        QValidator::State state;
    };
    const Case cases[] = {
        {QString(), QValidator::Acceptable},
        {QStringLiteral(":"), QValidator::Acceptable},
        {QStringLiteral("?"), QValidator::Acceptable},
        {QStringLiteral(u"ｱ"), QValidator::Acceptable},
        {QStringLiteral(u"あ"), QValidator::Invalid},   // two bytes
        {QStringLiteral(u"　"), QValidator::Invalid},   // full-width space, two bytes
        {QStringLiteral(u"é"), QValidator::Invalid},    // no code page 932 character
    };
    for (const Case& c : cases) {
        QString text = c.text;
        int pos = 0;
        EXPECT_EQ(validator->validate(text, pos), c.state) << text.toStdString();
    }
}

TEST_F(CompareSetDlgTest, FilterListsRoundTripAndAnUnreadablePatternKeepsTheDialogOpen)
{
    CompareOptions given;
    given.ignoreBlankLines = true;
    given.useLineFilters = true;
    given.lineFilters = {"^\\$Id", "日時"};
    given.useSubstitutions = true;
    given.substitutions = {{"[0-9]+/x", "N"}};
    auto dlg = Open(given);
    const CompareOptions back = dlg->options();
    EXPECT_EQ(kl::BuildPresetCode(back), "00000-0111");
    EXPECT_EQ(back.lineFilters, given.lineFilters);
    EXPECT_EQ(back.substitutions, given.substitutions);

    QString reason;
    CompareSetPrompts prompts;
    prompts.warnInvalidFilter = [&](QWidget*, const QString& text) { reason = text; };
    dlg->setPrompts(prompts);
    dlg->findChildren<QPlainTextEdit*>().front()->setPlainText(QStringLiteral("(open"));
    dlg->accept();
    EXPECT_TRUE(reason.contains(QStringLiteral("(open")));
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Stored("COUNT"), "<none>");
}

}  // namespace
