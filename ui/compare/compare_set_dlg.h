#pragma once
// The compare-method dialog "比較方法の設定": edits the compare options and the list of
// compare-mode presets. The option controls start from the options given; the preset list
// starts from the main window's drop-down list. OK stores the list in section COMPMODE of the
// settings file and rebuilds the drop-down list from it; the caller then takes options(),
// delimiterText() and selectedPreset(). Cancel changes nothing.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "engine/compare/compare_options.h"
#include "engine/compare/presets.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The messages the dialog shows. The program uses message boxes; tests put their own
// functions in their place.
struct CompareSetPrompts {
    // The combination to add is already in the list.
    std::function<void(QWidget* parent)> warnDuplicate;
    // The list could not be written to the settings file; it stays in force for this run.
    std::function<void(QWidget* parent)> warnNotStored;
    // A filter line cannot be read (reason names it); the dialog stays open.
    std::function<void(QWidget* parent, const QString& reason)> warnInvalidFilter{};
};

// Message boxes.
CompareSetPrompts InteractiveCompareSetPrompts();

class CCompareSetDlg : public QDialog {
    Q_OBJECT
public:
    CCompareSetDlg(QComboBox& presetCombo, int selectedPreset, const kl::CompareOptions& current,
                   const std::string& iniPath, QWidget* parent = nullptr);

    void setPrompts(CompareSetPrompts prompts);

    // The option values as the controls show them, the filter lists included.
    kl::CompareOptions options() const;
    // The delimiter field in code page 932, as typed (the settings file's PCHAR).
    std::string delimiterText() const;
    // The preset the main window selects after OK; -1 for none.
    int selectedPreset() const { return selectedPreset_; }

    // The rows of the preset list, in list order.
    std::vector<kl::PresetRow> presetRows() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildFilterControls();
    // Why the filter lists cannot be used, or empty when they can.
    QString filterProblem() const;
    void showOptions(const kl::CompareOptions& options);
    void addPresetRow();
    void deleteSelectedRow();
    int selectedRow() const;
    int findCode(const std::string& code) const;
    void insertRow(int row, const kl::PresetRow& preset);

    QComboBox& presetCombo_;
    std::string iniPath_;
    int selectedPreset_;
    CompareSetPrompts prompts_;
    // The list as the dialog opened with it, so that OK keeps what another window stored since.
    std::vector<kl::PresetRow> openedRows_;

    // The delimiter as given and as first shown: a byte with no character of its own (a lone
    // lead byte) is kept as it was unless the user changes the field.
    std::string initialDelimiter_;
    QString initialDelimiterShown_;

    QRadioButton* normalRadio_ = nullptr;
    QRadioButton* delimiterRadio_ = nullptr;
    QLineEdit* delimiterEdit_ = nullptr;
    QCheckBox* ignoreNewlineCheck_ = nullptr;
    QCheckBox* ignoreSpaceTabCheck_ = nullptr;
    QCheckBox* wideSpaceCheck_ = nullptr;
    QCheckBox* trailingSpaceCheck_ = nullptr;
    QCheckBox* ignoreCaseCheck_ = nullptr;
    QCheckBox* ignoreBlankCheck_ = nullptr;
    QCheckBox* lineFilterCheck_ = nullptr;
    QCheckBox* substitutionCheck_ = nullptr;
    QPlainTextEdit* lineFilterEdit_ = nullptr;
    QPlainTextEdit* substitutionEdit_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QTableWidget* presetList_ = nullptr;
};
