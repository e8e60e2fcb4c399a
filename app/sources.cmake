# Files of app/: engine (no Qt) and UI (Qt Widgets). main.cpp is the program's entry point.
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/auto_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_snapshot.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kestrilane_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lock_indicators.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recent_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_prompts.cpp
)
list(APPEND UI_RESOURCES
  ${CMAKE_CURRENT_LIST_DIR}/resources/kestrilane.qrc
)
