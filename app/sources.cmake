# Files of app/: engine (no Qt) and UI (Qt Widgets). main.cpp is the program's entry point.
list(APPEND ENGINE_SOURCES
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/placeholder_ui.cpp
)
