# Files of merge/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/block_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/merge_walk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/merge_output.cpp
)
list(APPEND UI_SOURCES
)
