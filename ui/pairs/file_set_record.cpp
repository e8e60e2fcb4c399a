#include "ui/pairs/file_set_record.h"

#include "engine/document/document_ops.h"
#include "engine/settings/file_pair.h"
#include "engine/settings/file_set_settings.h"
#include "ui/platform/path_text.h"

namespace {

QString FileNameText(const std::string& path)
{
    return PathText(path);
}

QString RefusalMessage(kl::PairTextStatus status, const kl::TextDocument& doc)
{
    switch (status) {
    case kl::PairTextStatus::DocAUnstorable:
    case kl::PairTextStatus::DocBUnstorable: {
        const int side = status == kl::PairTextStatus::DocAUnstorable ? 0 : 1;
        const std::string& path = doc.filePaths[static_cast<std::size_t>(side)];
        return QStringLiteral(u"ファイル名「%1」には設定ファイルに記録できない文字が含まれているため、"
                              u"組み合わせを記録できません。")
            .arg(FileNameText(path));
    }
    case kl::PairTextStatus::TooLong:
        return QStringLiteral(u"２つのファイル名が長すぎるため、組み合わせを記録できません。");
    case kl::PairTextStatus::Ok:
        break;
    }
    return {};
}

using Show = std::function<void(QWidget*, const QString&)>;

void Tell(const Show& show, QWidget* parent, const QString& message)
{
    if (show)
        show(parent, message);
}

}  // namespace

FileSetRecordResult RecordFileSet(QWidget* parent, const std::string& iniPath,
                                  const kl::TextDocument& doc, const FileSetPrompts& prompts)
{
    if (kl::LoadedTextCount(doc) < 2 || doc.filePaths.size() < 2) {
        Tell(prompts.showFailure, parent,
             QStringLiteral(u"組み合わせを記録するには、２つのファイルを読み込んでください。"));
        return FileSetRecordResult::Refused;
    }
    std::string pairText;
    const kl::PairTextStatus status =
        kl::MakePairText(doc.filePaths[0], doc.filePaths[1], pairText);
    if (status != kl::PairTextStatus::Ok) {
        Tell(prompts.showFailure, parent, RefusalMessage(status, doc));
        return FileSetRecordResult::Refused;
    }
    if (!prompts.askRecord || !prompts.askRecord(parent))
        return FileSetRecordResult::Declined;

    switch (kl::StoreFileSet(iniPath, pairText)) {
    case kl::FileSetStore::Recorded:
        return FileSetRecordResult::Recorded;
    case kl::FileSetStore::AlreadyRecorded:
        Tell(prompts.showInformation, parent,
             QStringLiteral(u"すでに記録されている組み合わせです"));
        return FileSetRecordResult::AlreadyRecorded;
    case kl::FileSetStore::WriteFailed:
        break;
    }
    const QString settingsFile =
        iniPath.empty() ? QStringLiteral("kestrilane.ini") : FileNameText(iniPath);
    Tell(prompts.showFailure, parent,
         QStringLiteral(u"設定ファイル「%1」に書き込めないため、組み合わせを記録できませんでした。")
             .arg(settingsFile));
    return FileSetRecordResult::WriteFailed;
}
