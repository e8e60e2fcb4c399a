// ファイル > レポートを保存: the shown comparison as an HTML report, saved and offered to
// the desktop's browser.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "engine/platform/atomic_file.h"
#include "engine/platform/file_time.h"
#include "engine/report/html_report.h"
#include "ui/app/main_frame.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/platform/path_text.h"

namespace {

kl::ReportStyle ReportStyleOf(const CKestrilaneDoc& doc, int context)
{
    kl::ReportStyle style;
    style.colors = doc.colors;
    style.fSameCol = doc.docSettings.fSameCol;
    style.fOtherCol = doc.docSettings.fOtherCol;
    style.tabSize = doc.docSettings.tabSize;
    style.fontFace = doc.leftFont.family().toStdString();
    if (doc.leftFont.pixelSize() > 0)
        style.fontPixels = doc.leftFont.pixelSize();
    style.context = context;
    return style;
}

kl::ReportHeader ReportHeaderOf(const CKestrilaneDoc& doc, kl::CompareMode mode)
{
    kl::ReportHeader header;
    header.mode = mode;
    header.options = doc.compareOptions;
    header.createdSeconds = QDateTime::currentSecsSinceEpoch();
    const kl::TextDocument& text = doc.textDoc;
    for (std::size_t side = 0; side < 2 && side < text.filePaths.size(); ++side) {
        kl::ReportFile& file = header.files[side];
        file.path = PathText(text.filePaths[side]).toStdString();
        if (side < text.fileStamps.size() && text.fileStamps[side].known) {
            file.size = text.fileStamps[side].size;
            file.modifiedSeconds = kl::ModifiedTime(text.fileStamps[side]);
        }
    }
    return header;
}

}  // namespace

void CMainFrame::OnSaveReport()
{
    const std::shared_ptr<const kl::CompareResult> result = doc_.result();
    if (!result->IsComparison() || result->RowCount() == 0) {
        reportPrompts.showError(this, QStringLiteral(u"比較結果がありません。先に比較を実行してください。"));
        return;
    }
    const std::optional<int> context = reportPrompts.chooseRows(this);
    if (!context)
        return;
    const QString path = reportPrompts.chooseSavePath(this);
    if (path.isEmpty())
        return;
    const kl::ShownRows shown(result->texts, result, {kl::DISPLAY_RESULT, viewState()->paired()});
    std::string page;
    kl::WriteHtmlReport(shown, ReportHeaderOf(doc_, compareMode), ReportStyleOf(doc_, *context),
                        [&page](std::string_view piece) {
                            page += piece;
                            return true;
                        });
    if (const kl::ReplaceResult saved = kl::ReplaceFileAtomically(QFile::encodeName(path).toStdString(), page);
        !saved) {
        reportPrompts.showError(this, QStringLiteral(u"レポート「%1」を保存できませんでした。\n(%2)")
                                          .arg(path, QString::fromStdString(saved.reason)));
        return;
    }
    if (reportPrompts.askOpen(this, QStringLiteral(u"レポートを保存しました。ブラウザで開きますか？")))
        reportPrompts.openInBrowser(path);
}
