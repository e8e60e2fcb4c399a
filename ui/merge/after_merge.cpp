#include "ui/merge/after_merge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "engine/merge/merge_output.h"

AfterMergeFiles::AfterMergeFiles() = default;

AfterMergeFiles::~AfterMergeFiles() = default;

bool AfterMergeFiles::CompareMergedResult(std::string_view merged, const std::string& documentPath,
                                          const QString& program, QWidget* parent, const MergePrompts& prompts)
{
    const QString document = QFile::decodeName(documentPath.c_str());
    auto folder = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("kestrilane-merge-XXXXXX")));
    folder->setAutoRemove(false);
    const QString file = folder->isValid() ? folder->filePath(QFileInfo(document).fileName()) : QString();
    std::string error;
    if (!folder->isValid()) {
        error = folder->errorString().toStdString();
    } else if (kl::SaveMergedText(QFile::encodeName(file).toStdString(), merged, error)) {
        saved_.push_back({std::move(folder), file});
        if (!prompts.startProcess(program, {QStringLiteral("/o"), QStringLiteral("--"), document, file})) {
            prompts.showError(parent, QStringLiteral(u"%1 を起動できませんでした。").arg(QDir::toNativeSeparators(program)));
            return false;
        }
        return true;
    } else {
        folder->remove();
    }
    prompts.showError(parent, QStringLiteral(u"テンプレートファイルの作成に失敗しました。\n%1")
                                  .arg(QString::fromStdString(error)));
    return false;
}

QStringList AfterMergeFiles::files() const
{
    QStringList list;
    for (const Saved& saved : saved_)
        list << saved.file;
    return list;
}

void AfterMergeFiles::OfferCleanUp(QWidget* parent, const MergePrompts& prompts)
{
    bool anyLeft = false;
    for (const Saved& saved : saved_)
        anyLeft = anyLeft || QFileInfo::exists(saved.file);
    if (!anyLeft)
        return;
    if (!prompts.askYesNo(parent, QStringLiteral(u"マージ後の比較のためテンポラリディレクトリへ一時的に"
                                                 u"作成されたファイルをすべて削除しますか？")))
        return;
    QStringList removed;
    for (Saved& saved : saved_) {
        const bool existed = QFileInfo::exists(saved.file);
        // Only the folder made for this merge goes, with whatever the second window left in it.
        if (saved.folder->remove() && existed)
            removed << QDir::toNativeSeparators(saved.file);
    }
    saved_.clear();
    prompts.showInfo(parent, removed.join(QStringLiteral("\r\n")) + QStringLiteral(u"\r\n以上のファイルを削除しました"));
}
