# Files of compare/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/run_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_size_tree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_matching.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lines_equal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/presets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/row_builder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_run.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/preset_combo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_set_dlg.cpp
)
