# libFuzzer targets (clang only): the decoder on arbitrary blocks, and pack-then-unpack round trips.
# Their sources are compiled into each target so that libFuzzer sees their coverage. The smoke tests
# run each target briefly from the committed seeds; tests/fuzz/README.md tells how to run them longer.
set(MIRRAVEL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined)

function(mirravel_fuzz_target name)
  add_executable(${name} ${ARGN})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  # Optimised even in Debug builds: fuzzing is only as good as its executions per second.
  target_compile_options(${name} PRIVATE ${MIRRAVEL_FUZZ_FLAGS} -O1 -g)
  target_link_options(${name} PRIVATE ${MIRRAVEL_FUZZ_FLAGS})
  mirravel_strict_warnings(${name})
endfunction()

mirravel_fuzz_target(fuzz_unpack tests/fuzz/fuzz_unpack.cpp catalogue/unpack_block.cpp)
mirravel_fuzz_target(fuzz_pack_roundtrip tests/fuzz/fuzz_pack_roundtrip.cpp catalogue/unpack_block.cpp
  tools/catpack/code_schedule.cpp tools/catpack/match_finder.cpp tools/catpack/packer.cpp tools/catpack/parse.cpp)

# New inputs go to a scratch directory in the build tree; the committed seeds are only read.
foreach(target unpack pack)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${target})
endforeach()
set(MIRRAVEL_FUZZ_ARTIFACTS -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/fuzz-artifacts-)
add_test(NAME fuzz_unpack_smoke
  COMMAND fuzz_unpack -max_total_time=20 -max_len=65536 -timeout=10 ${MIRRAVEL_FUZZ_ARTIFACTS}
          ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/unpack ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/corpus/unpack)
add_test(NAME fuzz_pack_roundtrip_smoke
  COMMAND fuzz_pack_roundtrip -max_total_time=10 -max_len=16384 -timeout=10 ${MIRRAVEL_FUZZ_ARTIFACTS}
          ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/pack ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/corpus/pack)
