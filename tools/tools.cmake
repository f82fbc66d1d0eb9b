# Build-time tools (not part of mirravel.exe). They run on the build machine, so only native builds
# make them.
if(NOT WIN32)
  add_library(catpack_lib STATIC
    tools/catpack/catpack_command.cpp
    tools/catpack/code_schedule.cpp
    tools/catpack/match_finder.cpp
    tools/catpack/packer.cpp
    tools/catpack/parse.cpp
    tools/catpack/sample_text.cpp)
  target_link_libraries(catpack_lib PUBLIC mirravel_core)
  mirravel_strict_warnings(catpack_lib)

  add_executable(catpack tools/catpack/catpack_main.cpp)
  target_link_libraries(catpack PRIVATE catpack_lib)
  mirravel_strict_warnings(catpack)

  # The harvester's reading and evaluation of the headers and the crate, on samples of their own.
  add_test(NAME harvest_tests COMMAND python3 -m unittest discover -s ${CMAKE_CURRENT_SOURCE_DIR}/tools/harvest/tests)
  add_test(NAME catalogue_text_sound COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/tools/harvest/harvest.py check
    ${CMAKE_CURRENT_SOURCE_DIR}/data/catalogue.txt)
endif()
