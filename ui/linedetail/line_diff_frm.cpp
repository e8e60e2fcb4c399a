#include "ui/linedetail/line_diff_frm.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>

#include "engine/document/text.h"
#include "engine/platform/cp932.h"
#include "ui/display/row_layout.h"
#include "ui/linedetail/twin_line_wnd.h"
#include "ui/linedetail/up_down.h"

namespace {

constexpr int kStepperWidth = 19;
constexpr int kTwinLeft = 20;
constexpr int kScrollBarAllowance = 18;

QString LineText(const kl::LineRef& line)
{
    const std::string_view bytes = line.bytes();
    const kl::TextEncoding encoding = line.encoding();
    return QString::fromStdU16String(kl::DecodeToUtf16(encoding, bytes.substr(0, kl::ContentLength(bytes))));
}

}  // namespace

CLineDiffFrm::CLineDiffFrm(QWidget* owner, QWidget* focusView) : QWidget(owner, kLineWindowFlags), focusView_(focusView)
{
    setFocusPolicy(Qt::StrongFocus);
    twin_ = new CTwinLineWnd(this);
    upDown1_ = new CUpDown(kLastSteppedLine, this);
    upDown2_ = new CUpDown(kLastSteppedLine, this);
    cancelButton_ = new QPushButton(QStringLiteral(u"キャンセル"), this);
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->hide();
    connect(upDown1_, &CUpDown::stepped, this, [this] { OnStepped(0); });
    connect(upDown2_, &CUpDown::stepped, this, [this] { OnStepped(1); });
    connect(cancelButton_, &QPushButton::clicked, this, &CLineDiffFrm::OnCancel);
}

CLineDiffFrm::~CLineDiffFrm()
{
    StopWorker();
}

void CLineDiffFrm::SetStyle(const LineWindowStyle& style)
{
    style_ = style;
    twin_->SetStyle(style);
}

void CLineDiffFrm::SetLineLists(std::shared_ptr<const kl::Text> lines1, std::shared_ptr<const kl::Text> lines2)
{
    lines1_ = std::move(lines1);
    lines2_ = std::move(lines2);
}

void CLineDiffFrm::SetLine(int which, kl::LineRef line)
{
    twin_->SetLine(which, std::move(line));
}

void CLineDiffFrm::SetScrollWidth(int width)
{
    twin_->SetScrollWidth(width);
    LayOut();
}

bool CLineDiffFrm::StartLineCompare(int side, bool updateUpDowns)
{
    side_ = side;
    const kl::LineRef& line1 = twin_->line(0);
    const kl::LineRef& line2 = twin_->line(1);
    if (!line1.valid() || !line2.valid()) {
        StopWorker();
        EndRun();
        twin_->ShowIdle();
        return false;
    }
    if (updateUpDowns) {
        upDown1_->setPosition(line1.index);
        upDown2_->setPosition(line2.index);
    }
    setWindowTitle(QStringLiteral("%1:%2, %3:%4")
                       .arg(SideName(side))
                       .arg(line1.index + 1)
                       .arg(SideName(1 - side))
                       .arg(line2.index + 1));
    setToolTip(QStringLiteral("%1:%2  %3\n%4:%5  %6")
                   .arg(SideName(side))
                   .arg(line1.index + 1)
                   .arg(style_.fileNames[static_cast<std::size_t>(side)])
                   .arg(SideName(1 - side))
                   .arg(line2.index + 1)
                   .arg(style_.fileNames[static_cast<std::size_t>(1 - side)]));

    // The run before, if any, has stopped and its thread has ended before the next starts.
    StopWorker();
    twin_->ShowIdle();
    cancelButton_->show();
    cancelButton_->raise();
    upDown1_->setEnabled(false);
    upDown2_->setEnabled(false);

    worker_ = new LineCompareWorker(line1, line2, stageHook, this);
    connect(worker_, &LineCompareWorker::stageChanged, twin_, &CTwinLineWnd::ShowStage);
    connect(worker_, &LineCompareWorker::finished, this, &CLineDiffFrm::OnFinished);
    if (!worker_->Start()) {
        StopWorker();
        EndRun();
        return false;
    }
    return true;
}

void CLineDiffFrm::OnFinished(std::shared_ptr<const kl::LinePairResult> result, const QString& failure)
{
    if (!worker_ || sender() != worker_)
        return;
    worker_->deleteLater();  // its thread has handed over its result and is ending
    worker_ = nullptr;
    if (failure.isEmpty()) {
        // Lines too long for the full comparison were compared the cheaper way: the title says so.
        const std::string note = result ? kl::LineCompareMethodNote(result->method) : std::string();
        if (!note.empty())
            setWindowTitle(windowTitle() + QStringLiteral(u"（") +
                           QString::fromStdU16String(kl::Cp932ToUtf16(note)) + QStringLiteral(u"）"));
        twin_->ShowResult(std::move(result));
    } else {
        twin_->ShowFailure(failure);
    }
    EndRun();
    emit compareFinished();
}

void CLineDiffFrm::OnCancel()
{
    if (worker_)
        worker_->RequestStop();
}

void CLineDiffFrm::StopWorker()
{
    if (!worker_)
        return;
    worker_->disconnect(this);
    delete worker_;  // requests the stop and joins the thread
    worker_ = nullptr;
}

void CLineDiffFrm::EndRun()
{
    cancelButton_->hide();
    upDown1_->setEnabled(true);
    upDown2_->setEnabled(true);
}

void CLineDiffFrm::Clear()
{
    StopWorker();
    EndRun();
    twin_->Clear();
    lines1_.reset();
    lines2_.reset();
    hide();
}

void CLineDiffFrm::OnStepped(int which)
{
    const std::shared_ptr<const kl::Text>& lines = which == 0 ? lines1_ : lines2_;
    const int position = upDown(which)->position();
    if (lines && position < lines->count())
        SetLine(which, kl::LineRef{lines, position});
    StartLineCompare(side_, true);
}

void CLineDiffFrm::CopyLines() const
{
    const QString text = LineText(twin_->line(0)) + QLatin1Char('\n') + LineText(twin_->line(1)) + QLatin1Char('\n');
    QApplication::clipboard()->setText(text);
}

// Esc and the copy keys belong to this window, not to the main window's commands, whose
// shortcuts a tool window of it shares.
bool CLineDiffFrm::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->matches(QKeySequence::Copy)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CLineDiffFrm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && isVisible()) {
        hide();
        if (focusView_) {
            focusView_->activateWindow();
            focusView_->setFocus();
        }
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopyLines();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CLineDiffFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CLineDiffFrm::LayOut()
{
    const QRect r = rect();
    const int half = r.height() / 2;
    twin_->setGeometry(r.left() + kTwinLeft, r.top(), r.width() - kTwinLeft, r.height());
    upDown1_->setGeometry(r.left(), r.top(), kStepperWidth, half);
    upDown2_->setGeometry(r.left(), r.top() + half, kStepperWidth, half);
    const int bottomMargin = twin_->hasScrollBar() ? kScrollBarAllowance : 6;
    cancelButton_->setGeometry(QRect(QPoint(r.left() + 40, r.top() + 6), QPoint(r.left() + 159, r.bottom() - bottomMargin)));
}
