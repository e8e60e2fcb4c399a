# Files of compare/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/compare_options.cpp
)
list(APPEND UI_SOURCES
)
