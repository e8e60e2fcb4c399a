#pragma once
// A line of text that looks and acts like a hyperlink: underlined, blue, pink while the
// mouse is over it with the pointing-hand cursor. A left press reports the link's target;
// the link never takes the keyboard focus.
#include <QColor>
#include <QLabel>
#include <QString>

class CLinkEdit : public QLabel {
    Q_OBJECT

public:
    static inline const QColor kNormalColor{20, 60, 232};
    static inline const QColor kHoverColor{244, 90, 245};

    explicit CLinkEdit(QWidget* parent = nullptr);

    void SetLink(const QString& caption, const QString& target);
    const QString& target() const { return target_; }
    // The colour the text is drawn in now.
    QColor textColor() const;

signals:
    void activated(const QString& target);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetTextColor(const QColor& color);

    QString target_;
};
