#pragma once
// The dialog "配色と表示設定": the colours of the comparison display, the two filler-row
// messages and three display switches. It edits a copy of the values; the caller applies
// them only after OK, so a Cancel changes nothing anywhere.
#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "engine/settings/settings_file.h"
#include "engine/settings/view_settings.h"

class CColorStatic;
class QCheckBox;
class QLineEdit;

struct ColorTextValues {
    kl::ColorTable colors{};
    std::string leftMessage;   // code page 932
    std::string rightMessage;  // code page 932
    int fDispMes = 1;
    int fSameCol = 1;
    int fOtherCol = 1;
};

class CColorTextSet : public QDialog {
    Q_OBJECT

public:
    CColorTextSet(const ColorTextValues& values, QWidget* parent = nullptr);

    // The values as the controls hold them now.
    ColorTextValues values() const;

    // Picks a colour starting from the given one; an invalid colour when cancelled. The
    // program shows the colour dialog; tests answer.
    std::function<QColor(const QColor& initial, QWidget* parent)> pickColor;

    // The "色選択" button of a colour entry (kl::ColorIndex), the swatch of one, the
    // message edits (0 left, 1 right), the switches (1015 FDISPMES, 1030 FSAMECOL,
    // 1031 FOTHERCOL) and the defaults button.
    QWidget* pickButton(int colorIndex) const;
    CColorStatic* swatch(int colorIndex) const;
    QLineEdit* messageEdit(int which) const;
    QCheckBox* check(int id) const;
    QWidget* defaultsButton() const { return defaults_; }

private:
    void Pick(int colorIndex);
    void RestoreDefaults();
    void ShowOtherColor();

    ColorTextValues values_;
    std::array<CColorStatic*, std::tuple_size_v<kl::ColorTable>> swatches_{};
    std::array<QWidget*, std::tuple_size_v<kl::ColorTable>> pickButtons_{};
    QLineEdit* left_ = nullptr;
    QLineEdit* right_ = nullptr;
    QCheckBox* dispMes_ = nullptr;
    QCheckBox* sameCol_ = nullptr;
    QCheckBox* otherCol_ = nullptr;
    QWidget* defaults_ = nullptr;
};
