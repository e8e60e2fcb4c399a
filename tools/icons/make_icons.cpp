// Draws the toolbar icons (16 px and 32 px PNG) into the folder given as the argument:
//   cmake -S tools/icons -B /tmp/icons && cmake --build /tmp/icons && QT_QPA_PLATFORM=offscreen /tmp/icons/gen ui/app/resources/icons
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <cmath>

static const QColor kOutline(0x40, 0x40, 0x48);
static const QColor kPaper(0xff, 0xff, 0xff);
static const QColor kBlue(0x2a, 0x6f, 0xd6);
static const QColor kGreen(0x2e, 0x9e, 0x3e);
static const QColor kRed(0xd3, 0x2f, 0x2f);
static const QColor kFolder(0xf2, 0xc2, 0x4b);
static const QColor kFolderDark(0xc8, 0x93, 0x1e);
static const QColor kRowA(0xff, 0xb3, 0xb3);
static const QColor kRowB(0xa8, 0xd0, 0xff);

static QPen Pen(QColor c, double w = 1.0) { QPen p(c, w); p.setJoinStyle(Qt::MiterJoin); p.setCapStyle(Qt::FlatCap); return p; }

static void Page(QPainter& p, QRectF r, double fold = 3)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Pen(kOutline));
    p.setBrush(kPaper);
    p.drawPath(path);
    if (fold > 0) {
        QPainterPath corner;
        corner.moveTo(r.right() - fold, r.top());
        corner.lineTo(r.right() - fold, r.top() + fold);
        corner.lineTo(r.right(), r.top() + fold);
        p.setBrush(Qt::NoBrush);
        p.drawPath(corner);
    }
}

static void Lines(QPainter& p, double x0, double x1, double y0, int n, QColor c)
{
    p.setPen(Pen(c));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x0, y0 + 2 * i), QPointF(x1, y0 + 2 * i));
}

static void DrawNew(QPainter& p) { Page(p, QRectF(3.5, 1.5, 9, 13), 3); Lines(p, 5.5, 10.5, 6.5, 0, kOutline); 
    // a small star for "new"
    p.setPen(Pen(kFolderDark)); p.setBrush(kFolder);
    QPolygonF star; for (int i = 0; i < 10; ++i) { double a = M_PI / 2 + i * M_PI / 5; double r = (i % 2) ? 1.6 : 3.6; star << QPointF(11.5 + r * std::cos(a), 11.5 - r * std::sin(a)); }
    p.drawPolygon(star);
}
static void DrawOpen(QPainter& p)
{
    p.setPen(Pen(kFolderDark));
    p.setBrush(kFolderDark.lighter(130));
    QPainterPath back; back.moveTo(1.5, 13.5); back.lineTo(1.5, 3.5); back.lineTo(5.5, 3.5); back.lineTo(6.5, 4.5); back.lineTo(12.5, 4.5); back.lineTo(12.5, 13.5); back.closeSubpath();
    p.drawPath(back);
    p.setBrush(kFolder);
    QPainterPath front; front.moveTo(1.5, 13.5); front.lineTo(4.0, 7.5); front.lineTo(14.5, 7.5); front.lineTo(12.5, 13.5); front.closeSubpath();
    p.drawPath(front);
}
static void Arrow(QPainter& p, QColor c)
{
    p.setPen(Pen(c, 2.0)); p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
    // arrow head at the start of the arc (angle 60 deg)
    double a = 60 * M_PI / 180; QPointF tip(8 + 5 * std::cos(a), 8 - 5 * std::sin(a));
    p.setPen(Qt::NoPen); p.setBrush(c);
    QPolygonF head; head << QPointF(tip.x() + 3.2, tip.y() - 0.2) << QPointF(tip.x() - 1.2, tip.y() - 3.6) << QPointF(tip.x() - 0.6, tip.y() + 2.6);
    p.drawPolygon(head);
}
static void DrawReload(QPainter& p) { Arrow(p, kGreen); }
static void DrawCopy(QPainter& p) { Page(p, QRectF(1.5, 1.5, 8, 10), 0); Lines(p, 3.5, 7.5, 4.5, 3, kOutline.lighter(160)); Page(p, QRectF(6.5, 4.5, 8, 10), 0); Lines(p, 8.5, 12.5, 7.5, 3, kOutline.lighter(160)); }
static void TwoColumns(QPainter& p)
{
    Page(p, QRectF(0.5, 1.5, 6, 13), 0);
    Page(p, QRectF(9.5, 1.5, 6, 13), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(kRowA); p.drawRect(QRectF(1, 5, 5, 3));
    p.setBrush(kRowB); p.drawRect(QRectF(10, 9, 5, 3));
    Lines(p, 2, 5, 3.5, 1, kOutline.lighter(160)); Lines(p, 2, 5, 9.5, 3, kOutline.lighter(160));
    Lines(p, 11, 14, 3.5, 3, kOutline.lighter(160)); Lines(p, 11, 14, 13.0, 0, kOutline);
}
static void DrawCompare(QPainter& p)
{
    TwoColumns(p);
    p.setPen(Qt::NoPen); p.setBrush(kBlue);
    p.drawRect(QRectF(6.5, 6, 3, 1.5)); p.drawRect(QRectF(6.5, 9, 3, 1.5));
}
static void DrawDetailed(QPainter& p)
{
    TwoColumns(p);
    p.setPen(Pen(kBlue, 1.6)); p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QRectF(4.5, 4.0, 6.5, 6.5));
    p.setPen(Pen(kBlue, 2.4)); p.drawLine(QPointF(10.2, 9.7), QPointF(13.8, 13.3));
}
// Two columns with a minus badge: the fewest changed lines.
static void DrawMinimal(QPainter& p)
{
    TwoColumns(p);
    p.setPen(Pen(kGreen.darker(130))); p.setBrush(kGreen);
    p.drawEllipse(QRectF(7.5, 7.5, 8, 8));
    p.setPen(Qt::NoPen); p.setBrush(Qt::white); p.drawRect(QRectF(9.5, 10.75, 4, 1.5));
}
static void DrawStop(QPainter& p)
{
    QPolygonF oct; for (int i = 0; i < 8; ++i) { double a = M_PI / 8 + i * M_PI / 4; oct << QPointF(8 + 7 * std::cos(a), 8 + 7 * std::sin(a)); }
    p.setPen(Pen(kRed.darker(140))); p.setBrush(kRed); p.drawPolygon(oct);
    p.setPen(Qt::NoPen); p.setBrush(Qt::white); p.drawRect(QRectF(4.5, 7, 7, 2));
}
static void DrawResult(QPainter& p)
{
    p.setPen(Pen(kOutline)); p.setBrush(kPaper); p.drawRect(QRectF(0.5, 1.5, 15, 13));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kRowA); p.drawRect(QRectF(1, 5, 7, 2)); p.setBrush(QColor(0xd0, 0xd0, 0xd0)); p.drawRect(QRectF(8.5, 5, 6.5, 2));
    p.setBrush(kRowB); p.drawRect(QRectF(8.5, 9, 6.5, 2)); p.setBrush(QColor(0xd0, 0xd0, 0xd0)); p.drawRect(QRectF(1, 9, 7, 2));
    Lines(p, 2, 6.5, 3.5, 1, kOutline.lighter(160)); Lines(p, 9.5, 14, 3.5, 1, kOutline.lighter(160));
    Lines(p, 2, 6.5, 12.5, 1, kOutline.lighter(160)); Lines(p, 9.5, 14, 12.5, 1, kOutline.lighter(160));
}

// A down or up arrow over a difference row: next and previous difference.
static void DiffArrow(QPainter& p, bool down)
{
    p.setPen(Pen(kOutline)); p.setBrush(kPaper); p.drawRect(QRectF(0.5, 0.5, 9, 15));
    p.setPen(Qt::NoPen); p.setBrush(kRowA); p.drawRect(QRectF(1, down ? 10 : 3, 8.5, 3));
    Lines(p, 2, 8, down ? 3.5 : 8.5, 1, kOutline.lighter(160));
    p.setBrush(kBlue);
    QPolygonF arrow;
    if (down)
        arrow << QPointF(10.5, 2) << QPointF(14, 2) << QPointF(14, 8) << QPointF(16, 8) << QPointF(12.25, 13) << QPointF(8.5, 8) << QPointF(10.5, 8);
    else
        arrow << QPointF(10.5, 14) << QPointF(14, 14) << QPointF(14, 8) << QPointF(16, 8) << QPointF(12.25, 3) << QPointF(8.5, 8) << QPointF(10.5, 8);
    p.drawPolygon(arrow);
}
// A diskette: record the loaded pair.
static void DrawSave(QPainter& p)
{
    p.setPen(Pen(kBlue.darker(150))); p.setBrush(kBlue); p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen); p.setBrush(kPaper); p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0)); p.drawRect(QRectF(4.5, 10, 7, 4.5));
    p.setBrush(kBlue.darker(150)); p.drawRect(QRectF(9.5, 3, 1.5, 3));
}
// A question mark in a circle: about the program.
static void DrawAbout(QPainter& p)
{
    p.setPen(Pen(kBlue.darker(140))); p.setBrush(kBlue); p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font; font.setPixelSize(12); font.setBold(true); p.setFont(font);
    p.setPen(Qt::white); p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}
static void DrawNextDiff(QPainter& p) { DiffArrow(p, true); }
static void DrawPrevDiff(QPainter& p) { DiffArrow(p, false); }
// Two columns with an arrow from one to the other: copy a difference (all of them: both rows).
static void CopyAcross(QPainter& p, bool toRight, bool all)
{
    Page(p, QRectF(0.5, 1.5, 5.5, 13), 0);
    Page(p, QRectF(10, 1.5, 5.5, 13), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(toRight ? kRowA : kRowB);
    for (double y : all ? std::initializer_list<double>{3.5, 9.5} : std::initializer_list<double>{6.5}) {
        p.drawRect(QRectF(1, y, 4.5, 3));
        p.drawRect(QRectF(10.5, y, 4.5, 3));
    }
    p.setBrush(kGreen.darker(110));
    QPolygonF arrow;
    const double y = all ? 8 : 8;
    if (toRight)
        arrow << QPointF(5.5, y - 1) << QPointF(9, y - 1) << QPointF(9, y - 3) << QPointF(12, y) << QPointF(9, y + 3) << QPointF(9, y + 1) << QPointF(5.5, y + 1);
    else
        arrow << QPointF(10.5, y - 1) << QPointF(7, y - 1) << QPointF(7, y - 3) << QPointF(4, y) << QPointF(7, y + 3) << QPointF(7, y + 1) << QPointF(10.5, y + 1);
    p.setPen(Pen(kGreen.darker(160), 0.8));
    p.drawPolygon(arrow);
}
static void DrawCopyToB(QPainter& p) { CopyAcross(p, true, false); }
static void DrawCopyToA(QPainter& p) { CopyAcross(p, false, false); }
static void DrawCopyAllToB(QPainter& p) { CopyAcross(p, true, true); }
static void DrawCopyAllToA(QPainter& p) { CopyAcross(p, false, true); }
// A curved arrow back (undo) or forward (redo).
static void Turn(QPainter& p, bool back)
{
    p.save();
    if (!back) { p.translate(16, 0); p.scale(-1, 1); }
    p.setPen(Pen(kBlue, 2.0)); p.setBrush(Qt::NoBrush);
    QPainterPath path; path.moveTo(5, 6); path.cubicTo(11, 4, 15, 8, 12, 13);
    p.drawPath(path);
    p.setPen(Qt::NoPen); p.setBrush(kBlue);
    QPolygonF head; head << QPointF(1.5, 6.5) << QPointF(6.5, 2.5) << QPointF(6.5, 10);
    p.drawPolygon(head);
    p.restore();
}
static void DrawUndo(QPainter& p) { Turn(p, true); }
static void DrawRedo(QPainter& p) { Turn(p, false); }

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argv[1];
    struct { const char* name; std::function<void(QPainter&)> draw; } icons[] = {
        {"new", DrawNew}, {"open", DrawOpen}, {"reload", DrawReload}, {"copy", DrawCopy},
        {"compare", DrawCompare}, {"compare_detailed", DrawDetailed}, {"compare_minimal", DrawMinimal}, {"stop", DrawStop}, {"show_result", DrawResult},
        {"next_diff", DrawNextDiff}, {"prev_diff", DrawPrevDiff}, {"save", DrawSave}, {"about", DrawAbout},
        {"copy_to_b", DrawCopyToB}, {"copy_to_a", DrawCopyToA}, {"copy_all_to_b", DrawCopyAllToB},
        {"copy_all_to_a", DrawCopyAllToA}, {"undo", DrawUndo}, {"redo", DrawRedo},
    };
    for (auto& icon : icons) {
        for (int scale : {1, 2}) {
            QImage image(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            icon.draw(p);
            p.end();
            image.save(dir + "/" + icon.name + (scale == 2 ? "@2x" : "") + ".png");
        }
    }
}
