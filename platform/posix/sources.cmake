set(MIRRAVEL_PLATFORM_SOURCES
  platform/posix/file_system_posix.cpp
  platform/posix/posix_file_operations.cpp
)
