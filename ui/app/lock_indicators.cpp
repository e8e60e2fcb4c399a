#include "ui/app/lock_indicators.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr LockKey kKeys[] = {LockKey::Kana, LockKey::CapsLock, LockKey::NumLock, LockKey::ScrollLock};
constexpr int kRefreshMs = 250;

QString IndicatorText(LockKey key)
{
    switch (key) {
    case LockKey::Kana: return QStringLiteral(u"ｶﾅ");
    case LockKey::CapsLock: return QStringLiteral("CAP");
    case LockKey::NumLock: return QStringLiteral("NUM");
    case LockKey::ScrollLock: return QStringLiteral("SCRL");
    }
    return {};
}

}  // namespace

std::optional<bool> LockKeyState(LockKey key)
{
#ifdef Q_OS_WIN
    int virtualKey = 0;
    switch (key) {
    case LockKey::Kana: virtualKey = VK_KANA; break;
    case LockKey::CapsLock: virtualKey = VK_CAPITAL; break;
    case LockKey::NumLock: virtualKey = VK_NUMLOCK; break;
    case LockKey::ScrollLock: virtualKey = VK_SCROLL; break;
    }
    return (GetKeyState(virtualKey) & 1) != 0;
#else
    (void)key;
    return std::nullopt;
#endif
}

LockIndicators::LockIndicators(QStatusBar* bar) : QObject(bar)
{
    for (LockKey key : kKeys) {
        auto* label = new QLabel(IndicatorText(key), bar);
        label->setObjectName(QStringLiteral("indicator%1").arg(static_cast<int>(key)));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // Sized for its text, so that it keeps its place while blank.
        label->setMinimumWidth(label->sizeHint().width() + 8);
        bar->addPermanentWidget(label);
        labels_[static_cast<int>(key)] = label;
    }
    Refresh();
    if (LockKeyState(LockKey::CapsLock).has_value()) {
        timer_ = new QTimer(this);
        connect(timer_, &QTimer::timeout, this, &LockIndicators::Refresh);
        timer_->start(kRefreshMs);
    }
}

void LockIndicators::Refresh()
{
    for (LockKey key : kKeys) {
        QLabel* label = labels_[static_cast<int>(key)];
        const std::optional<bool> on = LockKeyState(key);
        // A box that can never tell the key's state would only mislead: it goes away.
        label->setVisible(on.has_value());
        label->setText(on.value_or(false) ? IndicatorText(key) : QString());
    }
}
