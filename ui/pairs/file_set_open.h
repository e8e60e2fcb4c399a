#pragma once
// Opening a recorded pair: the document is cleared, DocA opened and, only when that worked,
// DocB, so that the automatic comparison after the second file applies.
#include <functional>
#include <string>

#include "engine/settings/file_pair.h"

struct FileSetOpenActions {
    std::function<void()> fileNew;                          // clears the document
    std::function<bool(const std::string& path)> openFile;  // the program's open path
};

// True when both files were opened.
bool OpenFileSet(const kl::FilePair& pair, const FileSetOpenActions& actions);
