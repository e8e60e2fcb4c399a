# Files of display/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/difference_navigation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/top_row.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/difference_navigator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/draw_line_wnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_wnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/newline_mark.cpp
  ${CMAKE_CURRENT_LIST_DIR}/over_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/painters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/row_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/overview_painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/side_marks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splitter_snd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_view.cpp
)
