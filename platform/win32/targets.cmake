# Win32 executables: the program itself.
add_executable(mirravel WIN32 platform/win32/main_win32.cpp)
target_link_libraries(mirravel PRIVATE mirravel_core)
mirravel_strict_warnings(mirravel)
