# Files of settings/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/merge_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_state_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_set_settings.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/user_profile.cpp
)
