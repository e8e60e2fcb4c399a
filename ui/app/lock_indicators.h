#pragma once
// The status bar's key indicators "ｶﾅ", "CAP", "NUM" and "SCRL". Where the system tells the
// state of these keys (Windows) an indicator shows its text while the key is on and stays
// blank while it is off. Elsewhere (X11, Wayland: Qt offers no portable way to read lock
// states) the indicators are not shown.
#include <QObject>
#include <array>
#include <optional>

class QLabel;
class QStatusBar;
class QTimer;

enum class LockKey { Kana, CapsLock, NumLock, ScrollLock };

// The state of the key; nothing when the platform does not tell it.
std::optional<bool> LockKeyState(LockKey key);

class LockIndicators : public QObject {
    Q_OBJECT

public:
    // Adds the four indicators to the right end of bar.
    explicit LockIndicators(QStatusBar* bar);

    QLabel* indicator(LockKey key) const { return labels_[static_cast<int>(key)]; }

    // Shows the current states.
    void Refresh();

private:
    std::array<QLabel*, 4> labels_{};
    QTimer* timer_ = nullptr;
};
