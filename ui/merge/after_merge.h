#pragma once
// The comparison after a merge: the merged text is saved in a private temporary folder of
// its own, under the name of the document it is compared with, and a second program window
// compares that document with it. The folders are kept until the program ends, when the
// user is offered to delete them.
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/merge/merge_prompts.h"

class QTemporaryDir;
class QWidget;

class AfterMergeFiles {
public:
    AfterMergeFiles();
    ~AfterMergeFiles();

    // Saves merged in a new temporary folder under the file name of documentPath (the
    // system's encoding) and starts program with "/o", "--", the document and the saved
    // file. A file that cannot be written is reported and nothing starts; a program that
    // cannot be started is reported. True when the second window was started.
    bool CompareMergedResult(std::string_view merged, const std::string& documentPath, const QString& program,
                             QWidget* parent, const MergePrompts& prompts);

    // The files saved so far, oldest first.
    QStringList files() const;
    // Offers to delete the temporary folders whose files still exist; on Yes removes them
    // and lists the files removed.
    void OfferCleanUp(QWidget* parent, const MergePrompts& prompts);

private:
    struct Saved {
        std::unique_ptr<QTemporaryDir> folder;
        QString file;
    };
    std::vector<Saved> saved_;
};
