# Files of tree/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_transfer.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/left_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_prompts.cpp
)
