# Start-up benchmark (Win32 builds): mirravel.exe against a bare window and against its own main window
# without the catalogue, run by bench/startup.sh under Wine. A one-run ctest keeps the benchmark
# working; its figures are printed, never asserted.
add_executable(bare_window WIN32 tests/e2e/bare_window/bare_window.cpp)
mirravel_strict_warnings(bare_window)

add_executable(main_window_only WIN32 tests/e2e/bare_window/main_window_only.cpp)
target_link_libraries(main_window_only PRIVATE mirravel_core comctl32 winmm)
mirravel_strict_warnings(main_window_only)

add_executable(startup_bench bench/startup/startup_main.cpp)
target_link_libraries(startup_bench PRIVATE psapi)
mirravel_strict_warnings(startup_bench)

add_test(NAME startup_bench_runs
  COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:startup_bench> $<TARGET_FILE:mirravel> $<TARGET_FILE:bare_window>
    $<TARGET_FILE:main_window_only> 1)
set_tests_properties(startup_bench_runs PROPERTIES TIMEOUT 300)
