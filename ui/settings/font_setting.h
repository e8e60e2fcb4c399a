#pragma once
// The dialog "フォントの設定": the font of both text views, or with "ウインドウごとにフォント
// を設定する" a second font for the right view; both share one size. The fonts are chosen
// in the system font dialog. The dialog edits a copy of the font settings; the caller takes
// them after OK.
#include <QDialog>
#include <QFont>
#include <functional>

#include "engine/settings/view_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

class CFontSetting : public QDialog {
    Q_OBJECT

public:
    CFontSetting(const kl::FontSettings& fonts, QWidget* parent = nullptr);

    const kl::FontSettings& fonts() const { return fonts_; }

    // Picks a font starting from the given one; false when cancelled. The program shows the
    // font dialog; tests answer.
    std::function<bool(QFont& font, QWidget* parent)> pickFont;

    QCheckBox* individualCheck() const { return individual_; }
    QPushButton* fontButton(int which) const { return which == 0 ? button1_ : button2_; }
    QGroupBox* fontGroup(int which) const { return which == 0 ? group1_ : group2_; }
    QLabel* faceLabel(int which) const { return which == 0 ? face1_ : face2_; }
    QLabel* charSetLabel(int which) const { return which == 0 ? charSet1_ : charSet2_; }
    QLabel* sizeLabel() const { return size_; }

private:
    void Choose(int which);
    void ShowValues();

    kl::FontSettings fonts_;
    QCheckBox* individual_ = nullptr;
    QGroupBox* group1_ = nullptr;
    QGroupBox* group2_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QLabel* face1_ = nullptr;
    QLabel* face2_ = nullptr;
    QLabel* charSet1_ = nullptr;
    QLabel* charSet2_ = nullptr;
    QLabel* size_ = nullptr;
};

// The name shown for a character set code: "Japanese (Shift-JIS)" for 128, "CODE=%d" for
// codes without a name.
QString CharSetName(int code);
// The size as the dialog shows it: for a negative height (a character height in pixels) the
// points it is at dpi dots per inch, "%dポイント", so that a font chosen as 14 points shows
// as 14ポイント; else "size:height".
QString FontSizeText(int size, int height, int dpi);
