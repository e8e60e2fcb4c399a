#pragma once
// The engine side of the document: the two loaded texts, their file data and the
// comparison result. The Qt document owns one of these.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/compare/result_model.h"
#include "engine/document/line_table.h"

namespace kl {

inline constexpr int DOC_A = 0;
inline constexpr int DOC_B = 1;

struct TextDocument {
    std::array<std::unique_ptr<LineTable>, 2> lineTables;  // a text is loaded when its slot is set
    std::vector<std::string> filePaths;  // full paths in load order
    std::vector<std::string> fileNames;  // names without directory
    std::vector<std::string> fileInfos;  // " [%Y/%m/%d %H:%M] N byte"
    std::vector<int> longestLine;        // per loaded text, index of its longest line
    std::array<int, 3> pendingTreePaths{0, 0, 0};  // 1-based positions in filePaths
    bool recording = true;               // loaded paths are queued for the file tree pane

    std::vector<DisplayRow> rowsA, rowsB;
    std::vector<DiffBlock> blocksA, blocksB;
};

}  // namespace kl
