# Win32 executables: the program itself, with its icon, version information and manifest.
enable_language(RC)

add_executable(mirravel WIN32 platform/win32/main_win32.cpp resources/mirravel.rc)
target_link_libraries(mirravel PRIVATE mirravel_core comctl32)
set_source_files_properties(resources/mirravel.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/resources/mirravel.ico;${CMAKE_CURRENT_SOURCE_DIR}/resources/mirravel.manifest;\
${CMAKE_CURRENT_SOURCE_DIR}/resources/mirravel-i686.manifest")
mirravel_strict_warnings(mirravel)
