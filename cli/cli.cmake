# mirravel-find, the command-line lookup, for the native and the Windows builds.
add_executable(mirravel-find cli/mirravel_find.cpp)
target_link_libraries(mirravel-find PRIVATE mirravel_core)
mirravel_strict_warnings(mirravel-find)

# End-to-end runs against the embedded catalogue; under Wine for the Windows builds.
if(WIN32)
  set(MIRRAVEL_FIND_RUNNER ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine-run-test.sh)
else()
  set(MIRRAVEL_FIND_RUNNER "")
endif()
add_test(NAME mirravel_find_cli
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/cli/mirravel_find_test.sh $<TARGET_FILE:mirravel-find> ${MIRRAVEL_FIND_RUNNER})
