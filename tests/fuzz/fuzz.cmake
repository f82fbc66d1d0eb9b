# libFuzzer targets (clang only): the decoder on arbitrary blocks, and pack-then-unpack round trips.
# Their sources are compiled into each target so that libFuzzer sees their coverage. The smoke tests
# run each target briefly from the committed seeds; tests/fuzz/README.md tells how to run them longer.
set(MIRRAVEL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined)

# New inputs go to a scratch directory in the build tree; the committed seeds are only read.
set(MIRRAVEL_FUZZ_ARTIFACTS -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/fuzz-artifacts-)
function(mirravel_fuzz_target name corpus seconds maxLength)
  add_executable(${name} ${ARGN})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  # Optimised even in Debug builds: fuzzing is only as good as its executions per second.
  target_compile_options(${name} PRIVATE ${MIRRAVEL_FUZZ_FLAGS} -O1 -g)
  target_link_options(${name} PRIVATE ${MIRRAVEL_FUZZ_FLAGS})
  mirravel_strict_warnings(${name})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${corpus})
  add_test(NAME ${name}_smoke
    COMMAND ${name} -max_total_time=${seconds} -max_len=${maxLength} -timeout=10 ${MIRRAVEL_FUZZ_ARTIFACTS}
            ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${corpus} ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/corpus/${corpus})
endfunction()

mirravel_fuzz_target(fuzz_unpack unpack 20 65536 tests/fuzz/fuzz_unpack.cpp catalogue/unpack_block.cpp)
mirravel_fuzz_target(fuzz_pack_roundtrip pack 10 16384 tests/fuzz/fuzz_pack_roundtrip.cpp catalogue/unpack_block.cpp
  tools/catpack/code_schedule.cpp tools/catpack/match_finder.cpp tools/catpack/packer.cpp tools/catpack/parse.cpp)
