#pragma once
// The options sheet in the lower part of the merge dialog. Page 1 "マージ実行後の処理":
// save the merged text under a chosen name, or save it by itself and compare it with DocA
// or DocB in a second window. Page 2 "問い合わせ時のオプション": while blocks are asked,
// scroll the views to the block, and give the query window the block's colour. The values
// live as long as the dialog; they are not stored.
#include <QTabWidget>

class QCheckBox;
class QComboBox;
class QRadioButton;

enum class AfterMerge { SaveAs = 0, CompareWithDocument = 1 };

class CMrgSheet : public QTabWidget {
    Q_OBJECT

public:
    explicit CMrgSheet(QWidget* parent = nullptr);

    AfterMerge afterMerge() const;
    // The document the merged text is compared with: 0 DocA, 1 DocB.
    int compareDocument() const;
    bool scrollToBlock() const;
    bool blockBackground() const;

    QRadioButton* saveAsRadio() const { return saveAs_; }
    QRadioButton* compareRadio() const { return compare_; }
    QComboBox* documentCombo() const { return document_; }
    QCheckBox* scrollCheck() const { return scroll_; }
    QCheckBox* backgroundCheck() const { return background_; }

private:
    QRadioButton* saveAs_ = nullptr;
    QRadioButton* compare_ = nullptr;
    QComboBox* document_ = nullptr;
    QCheckBox* scroll_ = nullptr;
    QCheckBox* background_ = nullptr;
};
