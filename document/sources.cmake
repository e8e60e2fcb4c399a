# Files of document/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_scan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document_ops.cpp
)
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/kestrilane_doc.cpp
)
