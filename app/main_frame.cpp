#include "app/main_frame.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/kestrilane_app.h"
#include "document/document_ops.h"
#include "document/kestrilane_doc.h"
#include "platform/cp932.h"
#include "settings/user_profile.h"

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");
constexpr int kOptionShift = 30;   // the switch /o moves the window this far right
constexpr int kShowMaximized = 3;  // stored show state of a maximised window
constexpr int kSmallestSide = 100;

kl::ColorRef ToColorRef(const QColor& color)
{
    return kl::Rgb(color.red(), color.green(), color.blue());
}

QStringList LocalFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

}  // namespace

CMainFrame::CMainFrame(CKestrilaneApp& app, CKestrilaneDoc& doc) : app_(app), doc_(doc)
{
    CreateMenus();

    summary_ = new QPlainTextEdit(this);
    summary_->setReadOnly(true);
    summary_->setFont(doc_.leftFont);
    summary_->setAcceptDrops(false);  // drops reach the frame
    setCentralWidget(summary_);

    statusBar()->addWidget(new QLabel(QStringLiteral(u"レディ")), 1);
    setAcceptDrops(true);

    // The colours are loaded once the window exists: the window colour is part of them.
    doc_.LoadColorSettings(ToColorRef(palette().color(QPalette::Base)));

    connect(&doc_, &CKestrilaneDoc::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, &CMainFrame::ShowSummary);
    connect(&doc_, &CKestrilaneDoc::docBLoaded, this, [this] { diffPosition = 0; });
    connect(&doc_, &CKestrilaneDoc::cleared, this, [this] { diffPosition = 0; });

    UpdateTitle(doc_.Title());
    ShowSummary();
}

void CMainFrame::CreateMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral(u"ファイル(&F)"));

    QAction* fileNew = fileMenu->addAction(QStringLiteral(u"新規作成(&N)"));
    fileNew->setObjectName(QStringLiteral("ID_FILE_NEW"));
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    fileNew->setStatusTip(QStringLiteral(u"読み込んだファイルをクリアします。"));
    connect(fileNew, &QAction::triggered, this, [this] { app_.OnFileNew(); });

    QAction* fileOpen = fileMenu->addAction(QStringLiteral(u"開く(&O)..."));
    fileOpen->setObjectName(QStringLiteral("ID_FILE_OPEN"));
    fileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    fileOpen->setStatusTip(QStringLiteral(u"比較する２つのファイルを順に開きます。"));
    connect(fileOpen, &QAction::triggered, this, [this] { app_.OnFileOpen(); });

    fileMenu->addSeparator();
    QAction* exit = fileMenu->addAction(QStringLiteral(u"アプリケーションの終了(&X)"));
    exit->setObjectName(QStringLiteral("ID_APP_EXIT"));
    exit->setStatusTip(QStringLiteral(u"アプリケーションを終了します。"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::ShowPlaced()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    kl::WindowPlacement placement = app_.profile().ReadWindowPlacement(screenSize, 0);
    if (app_.m_szOption == "o") {
        placement.left += kOptionShift;
        placement.right += kOptionShift;
    }
    move(placement.left, placement.top);
    resize(std::max(placement.right - placement.left, kSmallestSide),
           std::max(placement.bottom - placement.top, kSmallestSide));
    if (placement.showCmd == kShowMaximized)
        showMaximized();
    else
        show();
}

void CMainFrame::UpdateTitle(const QString& documentTitle)
{
    setWindowTitle(documentTitle.isEmpty() ? kAppTitle : documentTitle + QStringLiteral(" - ") + kAppTitle);
}

void CMainFrame::ShowSummary()
{
    const kl::TextDocument& text = doc_.textDoc;
    const int loaded = kl::LoadedTextCount(text);
    if (loaded == 0) {
        summary_->setPlainText(QStringLiteral(
            u"ファイルが読み込まれていません。\n"
            u"「ファイル」メニューの「開く」で比較する２つのファイルを選ぶか、"
            u"ファイルをこのウィンドウにドロップしてください。"));
        return;
    }
    const QString sideNames[2] = {QStringLiteral(u"DocA（左）"), QStringLiteral(u"DocB（右）")};
    QString summary;
    for (int k = 0; k < loaded; ++k) {
        const QString info = QString::fromStdString(kl::Cp932ToUtf8(text.fileInfos[k])).trimmed();
        summary += QStringLiteral(u"%1: %2\n    場所: %3\n    情報: %4\n    行数: %5\n\n")
                       .arg(sideNames[k], QFile::decodeName(text.fileNames[k].c_str()),
                            QFile::decodeName(text.filePaths[k].c_str()), info)
                       .arg(kl::LineCount(text, k));
    }
    summary_->setPlainText(summary);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opening may ask questions; the drag must be finished before a message box appears.
    QTimer::singleShot(0, this, [this, files] { OpenDroppedFiles(files); });
}

void CMainFrame::OpenDroppedFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        app_.OpenDocumentFile(QFile::encodeName(path).toStdString());
}
