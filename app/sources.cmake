# Files of app/: engine (no Qt) and UI (Qt Widgets). main.cpp is the program's entry point.
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/auto_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/kestrilane_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_prompts.cpp
)
