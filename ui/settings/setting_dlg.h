#pragma once
// The dialog "環境設定": whether two files from the command line and a second file opened
// later start a comparison, the EUC-JP conversion on loading, and the tab size (1 to 8).
// It edits a copy; the caller takes the values after OK.
#include <QDialog>

#include "engine/settings/view_settings.h"

class QCheckBox;
class QSpinBox;

class CSettingDlg : public QDialog {
    Q_OBJECT

public:
    CSettingDlg(const kl::DocSettings& settings, QWidget* parent = nullptr);

    // The given settings with the dialog's switches and tab size.
    kl::DocSettings settings() const;

    QCheckBox* check(int id) const;  // 1015 FPARAMDO, 1016 FOPENDO, 1030 EUCCHG
    QSpinBox* tabSize() const { return tabSize_; }

private:
    kl::DocSettings settings_;
    QCheckBox* paramDo_ = nullptr;
    QCheckBox* openDo_ = nullptr;
    QCheckBox* eucChg_ = nullptr;
    QSpinBox* tabSize_ = nullptr;
};
