# Files of platform/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/cp932.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cp932_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module_dir.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/private_profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/large_buffer.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/dropped_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_resolver.cpp
)
