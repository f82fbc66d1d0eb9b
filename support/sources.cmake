list(APPEND MIRRAVEL_CORE_SOURCES
  support/text.cpp
  support/command_line.cpp
  support/file_size.cpp
  support/preference_reader.cpp
  support/registry_text.cpp
)
