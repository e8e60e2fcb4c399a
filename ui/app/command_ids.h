#pragma once
// Identifiers of the main window's commands and controls. Every QAction of the main window
// carries its identifier as data, so the routing and the enable rules refer to these
// numbers.

namespace cmd {

// File menu
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_RELOAD = 32777;
inline constexpr int ID_FILE_SAVE = 57603;     // records the loaded pair
inline constexpr int ID_FILE_SAVE_AS = 57604;  // the focused side's text under another name
inline constexpr int ID_FILE_SAVE_DOC_A = 33200;  // DocA's text to its file
inline constexpr int ID_FILE_SAVE_DOC_B = 33201;
inline constexpr int ID_FILE_SAVE_REPORT = 32860;  // the comparison as an HTML report
inline constexpr int ID_FILE_PAIR_FIRST = 32794;  // saved pairs, one identifier per entry
inline constexpr int ID_FILE_PAIR_LAST = 32814;
inline constexpr int ID_FILE_MRU_FIRST = 57616;  // recent files, one identifier per entry
inline constexpr int ID_FILE_MRU_LAST = 57631;
inline constexpr int ID_APP_EXIT = 57665;

// Folder comparison (File menu)
inline constexpr int ID_FOLDER_COMPARE = 32900;
inline constexpr int ID_FOLDER_BACK = 32901;

// Edit menu
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_FIND = 33120;
inline constexpr int ID_EDIT_FIND_NEXT = 33121;
inline constexpr int ID_EDIT_FIND_PREV = 33122;
inline constexpr int ID_EDIT_GOTO_LINE = 33123;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_COPY_TO_B = 33130;      // the current difference (or the selected rows) to DocB
inline constexpr int ID_COPY_TO_A = 33131;
inline constexpr int ID_COPY_ALL_TO_B = 33132;  // every difference
inline constexpr int ID_COPY_ALL_TO_A = 33133;

// View menu
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_SOURCE = 32775;
inline constexpr int ID_VIEW_RESULT = 32776;
inline constexpr int ID_VIEW_PAIRED = 32816;    // changed lines side by side
inline constexpr int ID_VIEW_EOL_KIND = 32817;  // line ends shown by kind
inline constexpr int ID_VIEW_WRAP = 32818;      // long lines wrap at the pane's width
inline constexpr int ID_WINDOW_SPLIT = 57653;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// Compare menu
inline constexpr int ID_COMPARE = 32771;
inline constexpr int ID_COMPARE_DETAILED = 32789;
inline constexpr int ID_COMPARE_STOP = 32815;
inline constexpr int ID_COMPARE_MINIMAL = 33110;
inline constexpr int ID_NEXT_DIFF = 32779;
inline constexpr int ID_PREV_DIFF = 32780;

// Tools menu
inline constexpr int ID_REBUILD_NEWLINES = 32774;
inline constexpr int ID_MERGE = 32787;
inline constexpr int ID_SWAP_SIDES = 33100;

// Settings menu
inline constexpr int ID_FONT_SETTINGS = 32773;
inline constexpr int ID_COLOR_SETTINGS = 32778;
inline constexpr int ID_COMPARE_METHOD = 32782;
inline constexpr int ID_ENVIRONMENT_SETTINGS = 32781;

// Help menu
inline constexpr int ID_HELP_USAGE = 9;
inline constexpr int ID_APP_ABOUT = 57664;

// Controls of the main window
inline constexpr int IDC_PROGRESS = 157;
inline constexpr int IDC_COMPARE_MODE = 158;

}  // namespace cmd
