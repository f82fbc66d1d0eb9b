# End-to-end suites: Win32 console programs that drive the real executables under Wine (or Windows).
# Each suite is registered as one ctest test, run through scripts/wine-run-test.sh.
add_library(mirravel_e2e_harness STATIC
  tests/e2e/harness/checks.cpp
  tests/e2e/harness/process.cpp
  tests/e2e/harness/windows_and_controls.cpp
  tests/e2e/harness/message_boxes.cpp)
target_include_directories(mirravel_e2e_harness PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
mirravel_strict_warnings(mirravel_e2e_harness)

enable_testing()
set(MIRRAVEL_WINE_RUN ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-run-test.sh)

# mirravel_e2e_suite(name source... TARGET program): builds e2e_<name>.exe and runs it on program's exe.
function(mirravel_e2e_suite name)
  cmake_parse_arguments(SUITE "" "TARGET" "" ${ARGN})
  add_executable(e2e_${name} ${SUITE_UNPARSED_ARGUMENTS})
  target_link_libraries(e2e_${name} PRIVATE mirravel_e2e_harness)
  mirravel_strict_warnings(e2e_${name})
  add_test(NAME e2e_${name}
    COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_${name}> $<TARGET_FILE:${SUITE_TARGET}>)
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300)
endfunction()

mirravel_e2e_suite(smoke tests/e2e/smoke_test.cpp TARGET mirravel)

# The plug-in marker must survive the linker as a plain string of the executable.
add_test(NAME plugin_marker_in_executable
  COMMAND sh -c "strings \"$1\" | grep -qxF '! This is a JaPBe Plugin !'" marker $<TARGET_FILE:mirravel>)

# A window with one catalogue view over generated lines, and the suite that drives it.
add_executable(mirravel_view_host WIN32 tests/e2e/view_host/view_host.cpp)
target_link_libraries(mirravel_view_host PRIVATE mirravel_core)
target_include_directories(mirravel_view_host PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
mirravel_strict_warnings(mirravel_view_host)
mirravel_e2e_suite(view tests/e2e/view_test.cpp TARGET mirravel_view_host)

include(tests/e2e/peers/winhelp/winhelp.cmake)
include(tests/e2e/peers/japbe/japbe.cmake)
include(tests/e2e/suites/suites.cmake)

# Timing of the view over a catalogue-sized text (run by hand: wine mirravel_view_timing.exe).
add_executable(mirravel_view_timing WIN32 tests/e2e/view_host/view_timing.cpp)
target_link_libraries(mirravel_view_timing PRIVATE mirravel_core)
target_include_directories(mirravel_view_timing PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
mirravel_strict_warnings(mirravel_view_timing)
