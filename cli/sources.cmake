# The console front end on the engine; each command in a file of its own.
list(APPEND CLI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/json_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_json.cpp
  ${CMAKE_CURRENT_LIST_DIR}/side_by_side.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linediff_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/merge_command.cpp
)
