list(APPEND MIRRAVEL_CORE_SOURCES
  help/help_file.cpp
  help/help_window.cpp
)
