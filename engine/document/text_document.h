#pragma once
// The engine side of the document: the two loaded texts, their file data and the result of
// the last comparison. The Qt document owns one of these. Texts and result are immutable
// values held through shared pointers: replacing them never frees what a worker or a
// window still reads.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/document/file_stamp.h"
#include "engine/document/text.h"
#include "engine/document/text_loader.h"

namespace kl {

struct TextDocument {
    TextPair texts;                      // a text is loaded when its slot is set
    std::vector<std::string> filePaths;  // full paths in load order
    std::vector<std::string> fileNames;  // names without directory
    std::vector<std::string> fileInfos;  // " [%Y/%m/%d %H:%M] N byte"
    std::vector<FileStamp> fileStamps;   // each file as it was when its text was read
    std::array<int, 3> pendingTreePaths{0, 0, 0};  // 1-based positions in filePaths
    bool recording = true;               // loaded paths are queued for the file tree pane
    // How the text loaded next into each slot is read (the user's 文字コード choice);
    // back to Auto when the document is cleared, kept by a reload.
    std::array<EncodingChoice, 2> encodingChoices{EncodingChoice::Auto, EncodingChoice::Auto};
    // The text in the slot was edited in the window and differs from what its file holds.
    std::array<bool, 2> edited{false, false};

    // The last comparison shown; never null (an empty result before the first run).
    std::shared_ptr<const CompareResult> result = std::make_shared<const CompareResult>();
};

}  // namespace kl
