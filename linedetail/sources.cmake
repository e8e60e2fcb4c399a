# Files of linedetail/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/line_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_shape.cpp
  ${CMAKE_CURRENT_LIST_DIR}/partner_reach.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pairing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/substring_hash.cpp
)
list(APPEND UI_SOURCES
)
