# Files of settings/: engine (no Qt) and UI (Qt Widgets).
list(APPEND ENGINE_SOURCES
)
list(APPEND UI_SOURCES
)
