# Win32 measurements, run under Wine; their figures are printed, never asserted. Start-up: bench/startup.sh
# times mirravel.exe against a bare window and against its own main window without the catalogue (a
# one-run ctest keeps it working). The view: mirravel_view_timing.exe, run by hand.
add_executable(bare_window WIN32 bench/startup/bare_window.cpp)
add_executable(main_window_only WIN32 bench/startup/main_window_only.cpp)
target_link_libraries(main_window_only PRIVATE mirravel_core comctl32)
add_executable(startup_bench bench/startup/startup_main.cpp)
target_link_libraries(startup_bench PRIVATE psapi)
add_executable(mirravel_view_timing WIN32 bench/view_timing.cpp)
target_link_libraries(mirravel_view_timing PRIVATE mirravel_core)
foreach(target bare_window main_window_only startup_bench mirravel_view_timing)
  mirravel_strict_warnings(${target})
endforeach()

add_test(NAME startup_bench_runs
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-run-test.sh $<TARGET_FILE:startup_bench> $<TARGET_FILE:mirravel>
    $<TARGET_FILE:bare_window> $<TARGET_FILE:main_window_only> 1)
set_tests_properties(startup_bench_runs PROPERTIES TIMEOUT 300)
