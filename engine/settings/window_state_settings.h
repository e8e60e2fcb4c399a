#pragma once
// Window state the main window keeps in the settings file at exit: the column widths of the
// lower splitter (Settings underWndWidth1) and the selected compare-mode preset (COMPMODE
// SELECTED). An empty settings path gives the defaults; writers then do nothing and return
// false.
#include <string>

namespace kl {

// Widths in pixels of the overview bar column and the two text views.
struct SplitterWidths {
    int overview = 60;
    int left = 300;
    int right = 300;
};

// Three ten-character decimal fields; a field that is missing or holds no number keeps its
// default width.
SplitterWidths ReadSplitterWidths(const std::string& iniPath);
bool SaveSplitterWidths(const std::string& iniPath, const SplitterWidths& widths);

// Index of the selected preset; -1 = none.
int ReadSelectedPreset(const std::string& iniPath);
bool SaveSelectedPreset(const std::string& iniPath, int index);

}  // namespace kl
