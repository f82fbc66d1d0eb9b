# The jaPBe stand-in (a test peer, not part of the product), in this build's bitness and, built by the
# other mingw-w64 compiler, in the other one, so that each build can also run the program against a
# jaPBe of the other bitness.
set(MIRRAVEL_JAPBE_STANDIN_SOURCES
  tests/e2e/peers/japbe/japbe_standin.cpp
  tests/e2e/peers/japbe/standin_options.cpp)
add_executable(japbe_standin WIN32 ${MIRRAVEL_JAPBE_STANDIN_SOURCES})
target_include_directories(japbe_standin PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
mirravel_strict_warnings(japbe_standin)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(MIRRAVEL_OTHER_BITNESS i686)
else()
  set(MIRRAVEL_OTHER_BITNESS x86_64)
endif()
find_program(MIRRAVEL_OTHER_BITNESS_CXX ${MIRRAVEL_OTHER_BITNESS}-w64-mingw32-g++)
if(MIRRAVEL_OTHER_BITNESS_CXX)
  set(MIRRAVEL_JAPBE_STANDIN_OTHER ${CMAKE_CURRENT_BINARY_DIR}/japbe_standin_${MIRRAVEL_OTHER_BITNESS}.exe)
  list(TRANSFORM MIRRAVEL_JAPBE_STANDIN_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE standin_paths)
  add_custom_command(OUTPUT ${MIRRAVEL_JAPBE_STANDIN_OTHER}
    COMMAND ${MIRRAVEL_OTHER_BITNESS_CXX} -std=c++17 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion
      -Wsign-conversion -Wold-style-cast -Werror -I${CMAKE_CURRENT_SOURCE_DIR} -mwindows -static
      -o ${MIRRAVEL_JAPBE_STANDIN_OTHER} ${standin_paths}
    DEPENDS ${standin_paths} ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/peers/japbe/standin_options.h
    COMMENT "jaPBe stand-in for ${MIRRAVEL_OTHER_BITNESS}")
  add_custom_target(japbe_standin_other_bitness ALL DEPENDS ${MIRRAVEL_JAPBE_STANDIN_OTHER})
else()
  message(STATUS "No ${MIRRAVEL_OTHER_BITNESS} mingw-w64 compiler: the cross-bitness host suite is left out")
endif()
