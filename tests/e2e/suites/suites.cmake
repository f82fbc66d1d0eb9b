# The main window's end-to-end suites. Suites that need the catalogue text get its path as well.
add_library(mirravel_e2e_session STATIC tests/e2e/suites/mirravel_session.cpp)
target_link_libraries(mirravel_e2e_session PUBLIC mirravel_e2e_harness)
mirravel_strict_warnings(mirravel_e2e_session)

mirravel_e2e_suite(main_window tests/e2e/suites/main_window_test.cpp TARGET mirravel)
target_link_libraries(e2e_main_window PRIVATE mirravel_e2e_session)

# Registering the plug-in with jaPBe and taking it out again, self-removal of the plug-in copy included.
mirravel_e2e_suite(registration tests/e2e/suites/registration_test.cpp TARGET mirravel)
target_link_libraries(e2e_registration PRIVATE mirravel_e2e_session)

# The window layer in its own process: a console program that builds the real main window.
add_executable(e2e_window_layer tests/e2e/suites/window_layer_test.cpp)
target_link_libraries(e2e_window_layer PRIVATE mirravel_core mirravel_e2e_harness comctl32 winmm)
mirravel_strict_warnings(e2e_window_layer)
add_test(NAME e2e_window_layer COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_window_layer>)
set_tests_properties(e2e_window_layer PROPERTIES TIMEOUT 300)

# The help lookup against the help-engine stand-in (registry values written into the prefix by the suite).
add_executable(e2e_help tests/e2e/suites/help_test.cpp)
target_link_libraries(e2e_help PRIVATE mirravel_e2e_session)
mirravel_strict_warnings(e2e_help)
add_test(NAME e2e_help
  COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_help> $<TARGET_FILE:mirravel> $<TARGET_FILE:winhelp_standin>)
set_tests_properties(e2e_help PROPERTIES TIMEOUT 300)
# The jaPBe link: the program started as a tool by the jaPBe stand-in, of the same bitness and, when the
# machine runs 32-bit programs, of the other one (skipped otherwise).
add_executable(e2e_host_link tests/e2e/suites/host_link_test.cpp tests/e2e/suites/japbe_standin_driver.cpp)
target_link_libraries(e2e_host_link PRIVATE mirravel_e2e_session)
mirravel_strict_warnings(e2e_host_link)
add_dependencies(e2e_host_link japbe_standin)
add_test(NAME e2e_host_link
  COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_host_link> $<TARGET_FILE:mirravel> $<TARGET_FILE:japbe_standin>)
set_tests_properties(e2e_host_link PROPERTIES TIMEOUT 300)
if(MIRRAVEL_JAPBE_STANDIN_OTHER)
  add_dependencies(e2e_host_link japbe_standin_other_bitness)
  add_test(NAME e2e_host_link_cross_bitness
    COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_host_link> $<TARGET_FILE:mirravel> ${MIRRAVEL_JAPBE_STANDIN_OTHER} cross)
  set_tests_properties(e2e_host_link_cross_bitness PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()

# The bare window and the start-up benchmark that compares the program with it.
include(bench/startup/startup.cmake)

# Suites that compare with the catalogue text the program carries.
set(MIRRAVEL_CATALOGUE_TEXT ${CMAKE_CURRENT_SOURCE_DIR}/data/catalogue.txt CACHE FILEPATH
  "The catalogue text that the end-to-end suites expect mirravel.exe to show")
if(NOT EXISTS ${MIRRAVEL_CATALOGUE_TEXT})
  message(STATUS "No catalogue text at ${MIRRAVEL_CATALOGUE_TEXT}: the find and selection suites are left out")
  return()
endif()
foreach(suite find selection)
  add_executable(e2e_${suite} tests/e2e/suites/${suite}_test.cpp)
  target_link_libraries(e2e_${suite} PRIVATE mirravel_e2e_session)
  mirravel_strict_warnings(e2e_${suite})
  add_test(NAME e2e_${suite}
    COMMAND ${MIRRAVEL_WINE_RUN} $<TARGET_FILE:e2e_${suite}> $<TARGET_FILE:mirravel> ${MIRRAVEL_CATALOGUE_TEXT})
  set_tests_properties(e2e_${suite} PROPERTIES TIMEOUT 300)
endforeach()
