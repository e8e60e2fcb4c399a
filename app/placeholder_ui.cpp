// Keeps the UI library non-empty until the main window lands.
