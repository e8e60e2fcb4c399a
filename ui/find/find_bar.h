#pragma once
// The find bar under the text panes: what to look for, where and how, the way to the next
// and previous match, and how many there are. It only collects the user's wishes; the main
// window runs the search and moves through the matches.
#include <QWidget>

#include "engine/search/text_search.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

class FindBar : public QWidget {
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    kl::SearchQuery query() const;
    // Shows the bar with the pattern selected and the keyboard in it.
    void Activate();
    // "12件", "見つかりません", a pattern error, or a note such as "先頭から検索しました".
    void SetStatus(const QString& text);
    // While a search runs the bar offers its stop button, and Esc stops the search instead
    // of closing the bar.
    void SetSearching(bool searching);
    bool searching() const { return searching_; }

    QLineEdit* patternEdit() const { return pattern_; }

signals:
    // The query changed (typing settles after a short pause); a new search is due.
    void queryChanged();
    void nextRequested();
    void previousRequested();
    void stopRequested();
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* pattern_ = nullptr;
    QComboBox* sides_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* settle_ = nullptr;
    QWidget* stop_ = nullptr;
    bool searching_ = false;
};
