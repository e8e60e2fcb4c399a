#pragma once
// The dialog bar under the toolbar: which content the text views show ("元データ" the
// texts as loaded, "比較表示" the comparison result) and which scaling the overview bar
// uses and which window a right-click in a text view opens (D1 or D2).
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class ViewState;

class CFrameDlg : public QWidget {
    Q_OBJECT

public:
    // Control identifiers of the radio buttons.
    static constexpr int IDC_SOURCE = 1000;
    static constexpr int IDC_RESULT = 1001;
    static constexpr int IDC_D1 = 1003;
    static constexpr int IDC_D2 = 1004;

    explicit CFrameDlg(QWidget* parent = nullptr);

    // The radio button of identifier id, or nullptr.
    QAbstractButton* button(int id) const;

    // The view state whose detail mode D1 and D2 write. Until it is given they only move
    // the radio buttons.
    void SetViewState(ViewState* state);
    // Checks "元データ" (DISPLAY_SOURCE) or "比較表示" (DISPLAY_RESULT) without
    // announcing anything: the display was switched elsewhere (the View menu).
    void SetDisplayRadio(int mode);
    // Shows D1 or D2 again as the frame's detailMode has it.
    void Refresh();

    int displaySwitch = 0;  // 0 "元データ", 1 "比較表示"
    int detailSwitch = 0;   // 0 D1, 1 D2

signals:
    // The user chose "元データ" / "比較表示": the frame switches both text views.
    void showSourceRequested();
    void showResultRequested();
    // The user chose D1 (0) or D2 (1) and detailMode holds it now: the views show it anew.
    void detailModeChanged(int detailMode);

private:
    void OnDisplayClicked(int id);
    void OnDetailClicked(int id);
    // Checks the radio buttons as the two switches say.
    void ShowSwitches();

    QButtonGroup* displayGroup_ = nullptr;
    QButtonGroup* detailGroup_ = nullptr;
    ViewState* state_ = nullptr;
};
