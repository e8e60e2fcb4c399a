#pragma once
// A colour swatch: a small area filled with one colour and nothing else.
#include <QColor>
#include <QWidget>

class CColorStatic : public QWidget {
    Q_OBJECT

public:
    explicit CColorStatic(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};
