#include "ui/linedetail/line_info_frm.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "engine/document/text.h"
#include "engine/platform/cp932.h"
#include "ui/display/row_layout.h"

namespace {

const QColor kLabelText(20, 220, 30);
const QColor kLabelBack(20, 20, 20);
constexpr int kUnsetRowHeight = 14;
constexpr int kRowGap = 4;
const QString kLabel = QStringLiteral("TEXT:");
constexpr int kLabelGap = 6;  // the text starts this far after the label's width

QString Decoded(std::string_view bytes, kl::TextEncoding encoding)
{
    return QString::fromStdU16String(kl::DecodeToUtf16(encoding, bytes.substr(0, kl::ContentLength(bytes))));
}

}  // namespace

CLineInfoFrm::CLineInfoFrm(QWidget* owner) : QAbstractScrollArea(owner)
{
    setWindowFlags(kLineWindowFlags);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setSingleStep(20);
}

void CLineInfoFrm::SetStyle(const LineWindowStyle& style)
{
    style_ = style;
    viewport()->update();
}

void CLineInfoFrm::SetLine(int side, kl::LineRef line, std::shared_ptr<const kl::CompareResult> result)
{
    side_ = side;
    line_ = std::move(line);
    result_ = std::move(result);
    setWindowTitle(line_.valid() ? QStringLiteral(u"%1:%2行の比較結果情報").arg(SideName(side)).arg(line_.index + 1)
                                 : QString());
    viewport()->update();
}

void CLineInfoFrm::SetScrollWidth(int width)
{
    if (width <= 0) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        horizontalScrollBar()->setRange(0, 0);
        return;
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setRange(0, width);
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
}

bool CLineInfoFrm::hasScrollBar() const
{
    return horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}

void CLineInfoFrm::Clear()
{
    line_ = {};
    result_.reset();
    hide();
}

// Esc belongs to this window, not to the main window's commands, whose shortcuts a tool
// window of it shares: it hides the window and gives the keyboard back to the main window.
bool CLineInfoFrm::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void CLineInfoFrm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && isVisible()) {
        hide();
        if (QWidget* owner = parentWidget())
            owner->activateWindow();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

int CLineInfoFrm::TextLeft() const
{
    return QFontMetrics(style_.font).horizontalAdvance(kLabel) + kLabelGap;
}

int CLineInfoFrm::RowStep() const
{
    return (style_.fontHeight > 0 ? style_.fontHeight : kUnsetRowHeight) + kRowGap;
}

void CLineInfoFrm::scrollContentsBy(int, int)
{
    viewport()->update();
}

std::vector<CLineInfoFrm::ReportRow> CLineInfoFrm::Report() const
{
    std::vector<ReportRow> rows;
    if (!line_.valid())
        return rows;
    const int step = RowStep();
    int y = 10;
    rows.push_back({TextLeft(), y, Decoded(line_.bytes(), line_.encoding())});

    const kl::LineMatchInfo info = result_ ? kl::MatchInfoOf(*result_, side_, line_.index) : kl::LineMatchInfo{};
    y += step;
    rows.push_back({4, y, QStringLiteral(u"この行が属する共通ブロック行数： %1").arg(info.blockSize)});
    y += step + 5;
    rows.push_back({4, y, QStringLiteral(u"一致が確認された対象側の行情報")});
    y += step;
    const kl::Text* other = result_ ? result_->TextOf(1 - side_) : nullptr;
    for (std::size_t i = 0; i < info.partners.size(); ++i) {
        const int partner = info.partners[i];
        const std::string_view bytes = other && partner < other->count() ? other->text(partner) : std::string_view();
        rows.push_back({20, y + static_cast<int>(i) * step,
                        QStringLiteral(u"%1:  %2行 %3").arg(i + 1).arg(partner + 1).arg(Decoded(bytes, other ? other->encoding : kl::TextEncoding::Cp932))});
    }
    return rows;
}

int CLineInfoFrm::ContentWidth() const
{
    const QFontMetrics metrics(style_.font);
    int width = 0;
    for (const ReportRow& row : Report())
        width = std::max(width, row.x + metrics.horizontalAdvance(row.text));
    return width;
}

void CLineInfoFrm::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const std::vector<ReportRow> rows = Report();
    if (rows.empty())
        return;
    painter.setFont(style_.font);
    painter.translate(-horizontalScrollBar()->value(), 0);
    const QFontMetrics metrics(style_.font);
    // The line's own row carries a label in its own colours.
    painter.fillRect(4, rows.front().y, metrics.horizontalAdvance(kLabel), metrics.height(), kLabelBack);
    painter.setPen(kLabelText);
    painter.drawText(4, rows.front().y + metrics.ascent(), kLabel);
    painter.setPen(palette().color(QPalette::Text));
    for (const ReportRow& row : rows)
        painter.drawText(row.x, row.y + metrics.ascent(), row.text);
}
