#pragma once
// Recording the loaded pair in the settings file: what File > 上書き保存 and 名前を付けて保存
// do, since the program never writes the texts.
#include <string>

#include "engine/document/text_document.h"
#include "ui/pairs/file_set_prompts.h"

class QWidget;

enum class FileSetRecordResult {
    Recorded,
    Declined,         // the user answered No
    AlreadyRecorded,  // a listed pair holds the same two paths
    Refused,          // fewer than two texts, or a path the settings file cannot hold
    WriteFailed,
};

// Offers to record DocA's and DocB's paths as a pair in iniPath (empty: the settings file
// could not be located, so nothing can be recorded). Every outcome but Recorded and
// Declined is reported through prompts.
FileSetRecordResult RecordFileSet(QWidget* parent, const std::string& iniPath,
                                  const kl::TextDocument& doc, const FileSetPrompts& prompts);
