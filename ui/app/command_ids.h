#pragma once
// Identifiers of the main window's commands and controls. Every QAction of the main window
// carries its identifier as data, so the routing and the enable rules refer to these
// numbers.

namespace cmd {

// File menu
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_RELOAD = 32777;
inline constexpr int ID_FILE_MRU_FIRST = 57616;  // recent files, one identifier per entry
inline constexpr int ID_FILE_MRU_LAST = 57631;
inline constexpr int ID_APP_EXIT = 57665;

// Edit menu
inline constexpr int ID_EDIT_COPY = 57634;

// View menu
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_SOURCE = 32775;
inline constexpr int ID_VIEW_RESULT = 32776;

// Compare menu
inline constexpr int ID_COMPARE = 32771;
inline constexpr int ID_COMPARE_DETAILED = 32789;
inline constexpr int ID_COMPARE_STOP = 32815;
inline constexpr int ID_NEXT_DIFF = 32779;
inline constexpr int ID_PREV_DIFF = 32780;

// Settings menu
inline constexpr int ID_COMPARE_METHOD = 32782;
inline constexpr int ID_MERGE = 32787;

// Controls of the main window
inline constexpr int IDC_PROGRESS = 157;
inline constexpr int IDC_COMPARE_MODE = 158;

}  // namespace cmd
