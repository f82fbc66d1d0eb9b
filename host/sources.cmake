list(APPEND MIRRAVEL_CORE_SOURCES
  host/copy_menu.cpp
)
