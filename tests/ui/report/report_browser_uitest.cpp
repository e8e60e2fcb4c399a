// Reports opened in a real browser (headless Chromium): the colours and the Japanese text
// are drawn, the page is as wide as its rows, and no text of a file becomes an element.
// Skipped where Chromium is not installed (tools/install-deps.sh installs it).
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

#include "engine/settings/settings_file.h"
#include "tests/support/temp_dir.h"
#include "ui/platform/font_resolver.h"

namespace {

const QColor kDoc1(241, 36, 241);     // the DocA-only row colour by default
const QColor kDoc2(177, 160, 200);     // the DocB-only row colour by default
const QColor kLineBack(116, 119, 141);  // the line-number background
const QColor kChanged1(250, 205, 250);  // a changed DocA line of the paired display

class ReportBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        chromium_ = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium_.isEmpty())
            GTEST_SKIP() << "chromium is not installed (tools/install-deps.sh installs it)";
    }

    QString File(const char* name, const std::string& bytes) { return QString::fromStdString(dir_.write(name, bytes)); }

    // The report of a and b, as kestrilane-cli writes it.
    QString Report(const QString& a, const QString& b, QStringList options = {})
    {
        const QString out = QString::fromStdString(dir_.file("report" + std::to_string(++reports_) + ".html"));
        options = QStringList{QStringLiteral("compare"), QStringLiteral("--html")} + options + QStringList{a, b, "-o", out};
        QProcess cli;
        cli.start(QStringLiteral(KESTRILANE_CLI), options);
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return out;
    }

    // Runs headless Chromium on the page with the given switches; returns standard output.
    QByteArray Chromium(const QString& page, QStringList switches, int width = 1400)
    {
        switches << QStringLiteral("--headless") << QStringLiteral("--no-sandbox") << QStringLiteral("--disable-gpu")
                 << QStringLiteral("--hide-scrollbars") << QStringLiteral("--force-color-profile=srgb")
                 << QStringLiteral("--force-device-scale-factor=1")
                 << QStringLiteral("--user-data-dir=") + QString::fromStdString(dir_.file("profile"))
                 << QStringLiteral("--window-size=%1,1000").arg(width) << QUrl::fromLocalFile(page).toString();
        QProcess browser;
        browser.start(chromium_, switches);
        EXPECT_TRUE(browser.waitForFinished(120000));
        return browser.readAllStandardOutput();
    }

    QImage Screenshot(const QString& page, int width = 1400)
    {
        const QString png = QString::fromStdString(dir_.file("shot" + std::to_string(++shots_) + ".png"));
        Chromium(page, {QStringLiteral("--screenshot=") + png}, width);
        QImage image(png);
        EXPECT_FALSE(image.isNull()) << "no screenshot of " << page.toStdString();
        return image.convertToFormat(QImage::Format_RGB32);
    }

    QString dumpDom(const QString& page) { return QString::fromUtf8(Chromium(page, {QStringLiteral("--dump-dom")})); }

    kltest::TempDir dir_;
    QString chromium_;
    int reports_ = 0;
    int shots_ = 0;
};

int CountPixels(const QImage& image, const QColor& color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (line[x] & 0xFFFFFF) == (color.rgb() & 0xFFFFFF);
    }
    return n;
}

// The text area of the first row: right of its line-number cell, as high as the cell.
QRect FirstRowText(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width() / 2; ++x) {
            if (image.pixelColor(x, y) != kLineBack)
                continue;
            int right = x;
            while (right + 1 < image.width() && image.pixelColor(right + 1, y) == kLineBack)
                ++right;
            int bottom = y;
            while (bottom + 1 < image.height() && image.pixelColor(x, bottom + 1) == kLineBack)
                ++bottom;
            int end = right + 1;  // up to the DocB number cell
            while (end < image.width() && image.pixelColor(end, y) != kLineBack)
                ++end;
            return QRect(right + 1, y, end - right - 1, bottom - y + 1);
        }
    }
    return {};
}

int DarkPixels(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteAll(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

TEST_F(ReportBrowser, SamplePairShowsDocAOnlyRowsInTheirColour)
{
    const QString root = QStringLiteral(KESTRILANE_SOURCE_DIR "/samples/");
    const QImage shot = Screenshot(Report(root + "before.txt", root + "after.txt"));
    // The sample pair has several DocA-only lines of a dozen characters each on screen.
    EXPECT_GT(CountPixels(shot, kDoc1), 5000);
    EXPECT_GT(CountPixels(shot, kLineBack), 5000);
}

TEST_F(ReportBrowser, MarkedCharactersHaveTheMarkColour)
{
    // One changed line: the DocA-only and DocB-only colours can only come from its marks.
    const QString a = File("mark-a.txt", "同じ行\n会議は５月１４日に開催\n終わり\n");
    const QString b = File("mark-b.txt", "同じ行\n会議は６月２日に開催\n終わり\n");
    const QImage shot = Screenshot(Report(a, b, {QStringLiteral("--paired")}));
    EXPECT_GT(CountPixels(shot, kChanged1), 500);
    EXPECT_GT(CountPixels(shot, kDoc1), 100);
    EXPECT_GT(CountPixels(shot, kDoc2), 100);
    // Without the paired display there are no marks: the lines stand on their row colours.
    const QImage plain = Screenshot(Report(a, b));
    EXPECT_GT(CountPixels(plain, kDoc1), 100);
    EXPECT_EQ(CountPixels(plain, kChanged1), 0);
}

TEST_F(ReportBrowser, JapaneseTextIsDrawnInTheProgramsFont)
{
    const QString family = kl::JapaneseMonospaceFamily();
    // Two strings of the same length: empty boxes would look the same for both.
    const QString a = File("a.txt", "日本語の表示\n");
    const QImage first = Screenshot(Report(a, a));
    const QString b = File("b.txt", "漢字列を描画\n");
    const QString report = Report(b, b);
    const QImage second = Screenshot(report);
    const QRect area = FirstRowText(first);
    ASSERT_FALSE(area.isEmpty());
    const int ink = DarkPixels(first, area);
    EXPECT_GT(ink, 100);
    EXPECT_NE(DarkPixels(second, FirstRowText(second)), ink);

    // The same report with only the program's font named draws the same pixels.
    QString page = ReadAll(report);
    page.replace(QRegularExpression(QStringLiteral("font:13px/1.3 [^}]*")),
                 QStringLiteral("font:13px/1.3 \"%1\"").arg(family));
    const QString reference = QString::fromStdString(dir_.file("reference.html"));
    WriteAll(reference, page);
    const QImage drawn = Screenshot(reference);
    const QRect row = FirstRowText(second);
    EXPECT_EQ(second.copy(row), drawn.copy(row)) << "font " << family.toStdString();
}

TEST_F(ReportBrowser, PageIsAsWideAsItsLongestRow)
{
    std::string words;
    for (int k = 0; k < 80; ++k)
        words += "WWWW ";
    const QString a = File("long-a.txt", "short\n" + words + "\nend\n");
    const QString b = File("long-b.txt", "short\nend\n");
    QString page = ReadAll(Report(a, b));
    // A measuring script added to a copy (the report itself has none) puts its findings in
    // the title.
    page.replace(QStringLiteral("</body>"),
                 QStringLiteral("<script>const t=document.querySelector('section table.rows');"
                                "const h=[...document.querySelectorAll('section tbody tr')].map(r=>r.getBoundingClientRect().height);"
                                "document.title='W '+document.documentElement.scrollWidth+' '+"
                                "Math.ceil(t.getBoundingClientRect().right)+' '+Math.max(...h)+' '+Math.min(...h)+' W';"
                                "</script></body>"));
    const QString measured = QString::fromStdString(dir_.file("measured.html"));
    WriteAll(measured, page);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("W (\\d+) (\\d+) ([\\d.]+) ([\\d.]+) W")).match(dumpDom(measured));
    ASSERT_TRUE(match.hasMatch());
    const int pageWidth = match.captured(1).toInt();
    const int tableRight = match.captured(2).toInt();
    EXPECT_GT(tableRight, 400 * 6) << "the long row is cut or wrapped";
    EXPECT_GE(pageWidth, tableRight);
    // Fonts of other scripts may add a fraction of a pixel to a row, a wrap a whole line.
    EXPECT_LT(match.captured(3).toDouble(), 1.5 * match.captured(4).toDouble()) << "a row is wrapped";
}

TEST_F(ReportBrowser, HostileLinesStayText)
{
    const std::string hostile =
        "<img src=x onerror=alert(1)>\n</td></tr></table><b>bold</b>\n<script>alert(2)</script>\n"
        "\"'><svg onload=alert(3)>\n&lt;img&gt;\n";
    const QString dom = dumpDom(Report(File("hostile.txt", hostile), File("plain.txt", "plain\n")));
    ASSERT_TRUE(dom.contains(QStringLiteral("</html>")));
    for (const char* element : {"<img", "<script", "<svg", "<b>"})
        EXPECT_FALSE(dom.contains(QLatin1String(element))) << element;
    EXPECT_TRUE(dom.contains(QStringLiteral("&lt;img src=x onerror=alert(1)&gt;")));
    EXPECT_TRUE(dom.contains(QStringLiteral("&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;b&gt;bold&lt;/b&gt;")));
    EXPECT_TRUE(dom.contains(QStringLiteral("&lt;script&gt;alert(2)&lt;/script&gt;")));
    EXPECT_TRUE(dom.contains(QStringLiteral("&amp;lt;img&amp;gt;")));
    // Every row has its four cells: nothing closed the table early.
    EXPECT_EQ(dom.count(QStringLiteral("<td class=\"t\">")), 2 * 6);
}

}  // namespace
