// The manual that comes with the program: UTF-8 text that the program's own manual window
// reads, whose contents links all lead somewhere.
#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kManual = QStringLiteral(KESTRILANE_SOURCE_DIR "/docs/manual/index.html");

QString ManualText()
{
    QFile file(kManual);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << kManual.toStdString();
    return QString::fromUtf8(file.readAll());
}

QSet<QString> AnchorNames(const QTextDocument& document)
{
    QSet<QString> names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (const QString& name : block.charFormat().anchorNames())
            names.insert(name);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            for (const QString& name : it.fragment().charFormat().anchorNames())
                names.insert(name);
        }
    }
    return names;
}

TEST(Manual, DeclaresUtf8AndATitle)
{
    const QString text = ManualText();
    EXPECT_TRUE(text.contains(QStringLiteral("<meta charset=\"utf-8\">"), Qt::CaseInsensitive));
    QTextBrowser browser;
    browser.setSource(QUrl::fromLocalFile(kManual));
    EXPECT_FALSE(browser.documentTitle().isEmpty());
}

TEST(Manual, EveryLinkWithinThePageHasItsTarget)
{
    const QString text = ManualText();
    QTextBrowser browser;
    browser.setSource(QUrl::fromLocalFile(kManual));
    const QSet<QString> anchors = AnchorNames(*browser.document());

    static const QRegularExpression kLocalLink(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (const QRegularExpressionMatch& match : kLocalLink.globalMatch(text)) {
        ++links;
        EXPECT_TRUE(anchors.contains(match.captured(1))) << match.captured(1).toStdString();
    }
    EXPECT_GT(links, 10);
}

}  // namespace
