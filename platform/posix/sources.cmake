set(MIRRAVEL_PLATFORM_SOURCES
  platform/posix/file_system_posix.cpp
)
