#include "ui/merge/merge_file_types.h"

namespace {

constexpr int kLabelLength = 24;
constexpr int kPatternLength = 5;

}  // namespace

MergeFileTypes MergeFileTypesFor(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = (dot < 0 ? fileName : fileName.mid(dot + 1)).left(kLabelLength);
    const QString pattern = extension.left(kPatternLength);
    MergeFileTypes types;
    types.filter = QStringLiteral(u"%1ファイル (*.%2);;すべてのファイル (*.*)").arg(extension, pattern);
    types.defaultSuffix = pattern;
    return types;
}
