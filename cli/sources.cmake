# The console front end on the engine; each command in a file of its own.
list(APPEND CLI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
)
