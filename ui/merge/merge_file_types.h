#pragma once
// The file types the save dialog of the merge offers: the extension of the file opened
// last, and all files.
#include <QString>

struct MergeFileTypes {
    QString filter;         // "<ext>ファイル (*.<ext5>);;すべてのファイル (*.*)"
    QString defaultSuffix;  // <ext5>
};

// fileName: the name of the file opened last, without its folder. The extension is what
// follows its last "." (the whole name when it has none); the label shows up to 24
// characters of it, the pattern and the default suffix up to 5.
MergeFileTypes MergeFileTypesFor(const QString& fileName);
