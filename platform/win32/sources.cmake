set(MIRRAVEL_PLATFORM_SOURCES
  platform/win32/file_system_win32.cpp
)
