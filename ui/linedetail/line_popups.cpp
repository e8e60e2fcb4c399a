#include "ui/linedetail/line_popups.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>

#include "engine/document/text.h"
#include "engine/linedetail/line_pick.h"
#include "ui/display/row_layout.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/linedetail/line_diff_frm.h"
#include "ui/linedetail/line_info_frm.h"
#include "ui/linedetail/twin_line_wnd.h"

namespace {

constexpr int kWideText = 800;
constexpr int kScrollMargin = 50;
constexpr int kDiffMargin = 40;
constexpr int kScrollBarHeight = 20;
// The line difference window is never narrower than its キャンセル button and progress
// text need.
constexpr int kDiffMinimumWidth = 320;
constexpr int kInfoMargin = 10;
constexpr int kInfoMinimumWidth = 240;

}  // namespace

PopupPlacement PlacePopup(int row, int clickY, int lineHeight, int numberColumnWidth, int textWidth, int height,
                          int extraHeight)
{
    PopupPlacement placement;
    const int y = row > 4 ? clickY - 6 * lineHeight : clickY + 5 * lineHeight;
    placement.topLeft = QPoint(numberColumnWidth + 2, std::max(y, 0));
    placement.size = QSize(textWidth, height);
    if (textWidth > kWideText) {
        placement.scrollWidth = textWidth + kScrollMargin;
        placement.size.rheight() += extraHeight;
    }
    return placement;
}

CLinePopups::CLinePopups(CTextView& view, CKestrilaneDoc& doc, const ViewState* state)
    : QObject(&view), view_(view), doc_(doc), state_(state)
{
    connect(&view, &CTextView::rightPressed, this, &CLinePopups::OnRightPress);
    connect(&view, &CTextView::contextKeyPressed, this, &CLinePopups::OnContextKey);
    connect(&view, &CTextView::leftPressed, this, &CLinePopups::HidePopups);
    connect(&doc, &CKestrilaneDoc::documentChanged, this, &CLinePopups::OnDocumentChanged);
}

// The windows are children of the view and go with it; their workers are joined then.
CLinePopups::~CLinePopups() = default;

void CLinePopups::OnRightPress(QPoint point)
{
    if (state_ && state_->detailMode() == 1)
        ShowLineInfo(point);
    else
        ShowLineDiff(point);
}

void CLinePopups::OnContextKey(QPoint point)
{
    ShowLineDiff(point);
}

namespace {

// The row under point and the lines it picks; nothing when it picks none.
std::optional<PopupClick> ClickAt(CTextView& view, QPoint point)
{
    PopupClick click;
    click.metrics = view.Metrics();
    if (click.metrics.lineHeight <= 0)
        return std::nullopt;
    const long long y = static_cast<long long>(click.metrics.scrollTop) + point.y();
    if (y < 0)
        return std::nullopt;
    click.row = click.metrics.RowAt(y);
    std::optional<kl::LinePick> pick = kl::PickLinePair(*click.metrics.shown, view.side(), click.row);
    if (!pick)
        return std::nullopt;
    click.pick = std::move(*pick);
    return click;
}

}  // namespace

QRect CLinePopups::ScreenRect(const PopupPlacement& placement) const
{
    QRect rect(view_.viewport()->mapToGlobal(placement.topLeft), placement.size);
    // A very long line makes a window wider than the screen: it scrolls instead.
    if (const QScreen* screen = view_.screen()) {
        const QRect available = screen->availableGeometry();
        rect.setWidth(std::min(rect.width(), available.width()));
        if (rect.right() > available.right())
            rect.moveRight(available.right());
        rect.moveLeft(std::max(rect.left(), available.left()));
    }
    return rect;
}

template <typename Window, typename Create>
std::optional<PopupClick> CLinePopups::Prepare(Window*& window, QPoint point, const Create& create)
{
    std::optional<PopupClick> click = ClickAt(view_, point);
    if (!click)
        return std::nullopt;
    if (!window)
        window = create();
    window->SetStyle(LineWindowStyleOf(doc_, click->metrics.tabPixels));
    return click;
}

template <typename Window>
void CLinePopups::Present(Window& window, const PopupPlacement& placement)
{
    window.SetScrollWidth(placement.scrollWidth);
    const QRect rect = ScreenRect(placement);
    window.move(rect.topLeft());
    window.resize(rect.size());
    window.show();
    window.raise();
}

bool CLinePopups::ShowLineDiff(QPoint point)
{
    const std::optional<PopupClick> click = Prepare(lineDiff_, point, [this] { return new CLineDiffFrm(&view_, &view_); });
    if (!click)
        return false;
    lineDiff_->stageHook = stageHook;
    diffResult_ = doc_.result();
    // As wide as the twin-line pane draws the longer line, tabs and newline marks included.
    CTwinLineWnd* twin = lineDiff_->twin();
    const int textWidth = std::max(twin->LineWidth(click->pick.line1), twin->LineWidth(click->pick.line2));
    const ViewMetrics& metrics = click->metrics;
    const PopupPlacement placement = PlacePopup(click->row, point.y(), metrics.lineHeight, metrics.numberColumnWidth,
                                                std::max(textWidth + kDiffMargin, kDiffMinimumWidth),
                                                4 * metrics.lineHeight + 16, kScrollBarHeight);
    lineDiff_->SetLineLists(click->pick.line1.text, click->pick.line2.text);
    lineDiff_->SetLine(0, click->pick.line1);
    lineDiff_->SetLine(1, click->pick.line2);
    lineDiff_->StartLineCompare(view_.side(), true);
    Present(*lineDiff_, placement);
    lineDiff_->activateWindow();
    return true;
}

bool CLinePopups::ShowLineInfo(QPoint point)
{
    const std::optional<PopupClick> click = Prepare(lineInfo_, point, [this] { return new CLineInfoFrm(&view_); });
    if (!click)
        return false;
    lineInfo_->SetLine(view_.side(), click->pick.line1, doc_.result());
    // Wide enough for every row of the report, so that nothing is cut off.
    const ViewMetrics& metrics = click->metrics;
    const std::string_view text1 = click->pick.line1.bytes();
    const std::string_view text2 = click->pick.line2.bytes();
    const std::string_view longer = text2.size() > text1.size() ? text2 : text1;
    const int textWidth = kl::PrefixWidth(*metrics.measure, metrics.tabPixels, longer, kl::ContentLength(longer));
    const int width = std::max({lineInfo_->ContentWidth(), textWidth, kInfoMinimumWidth}) + kInfoMargin;
    Present(*lineInfo_, PlacePopup(click->row, point.y(), metrics.lineHeight, metrics.numberColumnWidth, width,
                                   20 * metrics.lineHeight, kScrollBarHeight));
    return true;
}

void CLinePopups::HidePopups()
{
    if (lineDiff_)
        lineDiff_->hide();
    if (lineInfo_)
        lineInfo_->hide();
}

void CLinePopups::OnDocumentChanged()
{
    const kl::TextDocument& doc = doc_.textDoc;
    const auto current = [&doc](const kl::Text* text) {
        return text && (text == doc.texts[0].get() || text == doc.texts[1].get());
    };
    if (lineDiff_) {
        const kl::LineRef& line1 = lineDiff_->twin()->line(0);
        const kl::LineRef& line2 = lineDiff_->twin()->line(1);
        const bool stale = (line1.text && !current(line1.text.get())) || (line2.text && !current(line2.text.get())) ||
                           diffResult_.lock() != doc.result;
        if (stale)
            lineDiff_->Clear();
    }
    if (lineInfo_ && lineInfo_->line().text) {
        if (!current(lineInfo_->line().text.get()) || lineInfo_->result() != doc.result)
            lineInfo_->Clear();
    }
}
