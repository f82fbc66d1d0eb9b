# Unit tests: every portable part of the program, run natively (and under the sanitizers).
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE MIRRAVEL_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/unit/*_test.cpp)

add_executable(mirravel_unit_tests ${MIRRAVEL_UNIT_TEST_SOURCES})
# catpack_lib: the packer's tests round-trip through the product's decoder.
target_link_libraries(mirravel_unit_tests PRIVATE mirravel_core catpack_lib GTest::gtest_main)
target_include_directories(mirravel_unit_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
target_compile_definitions(mirravel_unit_tests PRIVATE
  MIRRAVEL_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
mirravel_strict_warnings(mirravel_unit_tests)
gtest_discover_tests(mirravel_unit_tests DISCOVERY_TIMEOUT 60)

# Includes run only downward through the layers (docs/architecture.md).
add_test(NAME include_layers COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check-layers.sh)
