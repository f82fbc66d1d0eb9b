# End-to-end suites: Win32 console programs that drive the real executables under Wine (or Windows), each
# ctest test run through scripts/wine-run-test.sh; and the peer programs they drive.
set(MIRRAVEL_WINE_RUN ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-run-test.sh)
add_library(mirravel_e2e_harness STATIC tests/e2e/harness/harness.cpp)
target_include_directories(mirravel_e2e_harness PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

# The peers: one stand-in program in the role of jaPBe or of the help engine.
add_executable(japbe_standin WIN32 tests/e2e/peers/standin.cpp)

# The suites that drive a program from outside: one program, one section per test.
add_executable(e2e_suites tests/e2e/suites/main.cpp tests/e2e/suites/session.cpp tests/e2e/suites/window_test.cpp
  tests/e2e/suites/registration_test.cpp tests/e2e/suites/help_test.cpp tests/e2e/suites/host_link_test.cpp)
target_link_libraries(e2e_suites PRIVATE mirravel_e2e_harness)
add_dependencies(e2e_suites mirravel japbe_standin)
function(mirravel_e2e_section name section)  # then the program and the section's peer
  add_test(NAME e2e_${name} COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_suites> ${section} ${ARGN})
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()
mirravel_e2e_section(window window $<TARGET_FILE:mirravel>)
mirravel_e2e_section(registration registration $<TARGET_FILE:mirravel>)
mirravel_e2e_section(help help $<TARGET_FILE:mirravel> $<TARGET_FILE:japbe_standin>)
mirravel_e2e_section(host_link host_link $<TARGET_FILE:mirravel> $<TARGET_FILE:japbe_standin>)

# The window layer in the suite's own process: the real main window built by the platform layer.
add_executable(e2e_window_layer tests/e2e/suites/window_layer_test.cpp)
target_link_libraries(e2e_window_layer PRIVATE mirravel_core mirravel_e2e_harness comctl32)
add_test(NAME e2e_window_layer COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_window_layer>)
set_tests_properties(e2e_window_layer PROPERTIES TIMEOUT 300)
foreach(target mirravel_e2e_harness japbe_standin e2e_suites e2e_window_layer)
  mirravel_strict_warnings(${target})
endforeach()

# The plug-in marker must survive the linker as a plain string of the executable.
add_test(NAME plugin_marker_in_executable
  COMMAND sh -c "strings \"$1\" | grep -qxF '! This is a JaPBe Plugin !'" marker $<TARGET_FILE:mirravel>)

# The jaPBe stand-in built by the other mingw-w64 compiler too, for the program against a jaPBe of the
# other bitness (the test reports itself skipped where 32-bit programs do not run).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(MIRRAVEL_OTHER_BITNESS i686)
else()
  set(MIRRAVEL_OTHER_BITNESS x86_64)
endif()
find_program(MIRRAVEL_OTHER_BITNESS_CXX ${MIRRAVEL_OTHER_BITNESS}-w64-mingw32-g++)
if(MIRRAVEL_OTHER_BITNESS_CXX)
  set(standin ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/peers/standin.cpp)
  set(other_standin ${CMAKE_CURRENT_BINARY_DIR}/japbe_standin_${MIRRAVEL_OTHER_BITNESS}.exe)
  add_custom_command(OUTPUT ${other_standin}
    COMMAND ${MIRRAVEL_OTHER_BITNESS_CXX} -std=c++17 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion
      -Wsign-conversion -Wold-style-cast -Werror -mwindows -static -o ${other_standin} ${standin}
    DEPENDS ${standin} COMMENT "jaPBe stand-in for ${MIRRAVEL_OTHER_BITNESS}")
  add_custom_target(japbe_standin_other_bitness ALL DEPENDS ${other_standin})
  mirravel_e2e_section(host_link_cross_bitness host_link_cross $<TARGET_FILE:mirravel> ${other_standin})
else()
  message(STATUS "No ${MIRRAVEL_OTHER_BITNESS} mingw-w64 compiler: the cross-bitness host suite is left out")
endif()
