#include "ui/linedetail/twin_line_wnd.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "engine/platform/cp932.h"
#include "ui/display/newline_mark.h"
#include "ui/linedetail/twin_line_painter.h"

namespace {

// Where the progress text stands, and the scroll steps.
const QPoint kProgressTopLeft(180, 16);
constexpr int kLineStep = 20;
constexpr int kPageStep = 60;

}  // namespace

CTwinLineWnd::CTwinLineWnd(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setSingleStep(kLineStep);
    horizontalScrollBar()->setPageStep(kPageStep);
}

void CTwinLineWnd::SetStyle(const LineWindowStyle& style)
{
    style_ = style;
    setFont(style.font);
    measure_.SetFont(style.font);
    newlineMark_ = kl::NewlineMark(palette().color(QPalette::Base));
    viewport()->update();
}

void CTwinLineWnd::SetLine(int which, kl::LineRef line)
{
    (which == 0 ? line1_ : line2_) = std::move(line);
}

int CTwinLineWnd::LineWidth(const kl::LineRef& line)
{
    if (!line.valid())
        return 0;
    measure_.SetFont(style_.font);
    measure_.SetEncoding(line.encoding());
    return kl::RunWidth(measure_, style_.tabPixels, style_.fontSize, line.bytes());
}

void CTwinLineWnd::ShowIdle()
{
    state_ = TwinState::Idle;
    result_.reset();
    links_.clear();
    viewport()->update();
}

void CTwinLineWnd::ShowStage(int stage)
{
    state_ = TwinState::Comparing;
    progressText_ = QString::fromStdU16String(kl::Cp932ToUtf16(kl::LineCompareProgressText(stage)));
    viewport()->update();
}

void CTwinLineWnd::ShowResult(std::shared_ptr<const kl::LinePairResult> result)
{
    result_ = std::move(result);
    state_ = TwinState::Done;
    viewport()->update();
}

void CTwinLineWnd::ShowFailure(const QString& message)
{
    result_.reset();
    state_ = TwinState::Failed;
    progressText_ = message;
    viewport()->update();
}

void CTwinLineWnd::Clear()
{
    ShowIdle();
    line1_ = {};
    line2_ = {};
}

void CTwinLineWnd::SetScrollWidth(int width)
{
    QScrollBar* bar = horizontalScrollBar();
    if (width <= 0) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        bar->setRange(0, 0);
        return;
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    bar->setRange(0, width);
}

bool CTwinLineWnd::hasScrollBar() const
{
    return horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}

void CTwinLineWnd::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    secondRowTop_ = viewport()->height() / 2;
}

void CTwinLineWnd::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CTwinLineWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    painter.setFont(style_.font);
    links_.clear();
    if (state_ == TwinState::Comparing || state_ == TwinState::Failed) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(kProgressTopLeft, QSize(viewport()->width(), QFontMetrics(style_.font).height())),
                         Qt::AlignLeft | Qt::AlignTop, progressText_);
        return;
    }
    if (state_ != TwinState::Done || !result_ || !line1_.valid() || !line2_.valid())
        return;
    measure_.SetFont(style_.font);
    kl::TwinPaintContext context{painter, measure_, style_.upperDifference, style_.lowerDifference, style_.common};
    context.tabPixels = style_.tabPixels;
    context.textHeight = measure_.metrics().height();
    context.fontSize = style_.fontSize;
    context.fontHeight = style_.fontHeight > 0 ? style_.fontHeight : context.textHeight;
    context.newlineMark = &newlineMark_;
    context.upperEncoding = line1_.encoding();
    context.lowerEncoding = line2_.encoding();
    links_ = kl::PaintTwinRows(context, *result_, line1_.bytes(), line2_.bytes(), horizontalScrollBar()->value(),
                               secondRowTop_);
}
