set(MIRRAVEL_PLATFORM_SOURCES
  platform/win32/file_system_win32.cpp
  platform/win32/main_window.cpp
)
