# Benchmarks (Google Benchmark), native only: one executable, mirravel_bench. Further benchmark sources
# go into MIRRAVEL_BENCH_SOURCES.
find_package(benchmark REQUIRED)
find_package(ZLIB REQUIRED)

set(MIRRAVEL_BENCH_SOURCES
  bench/bench_find.cpp
  bench/bench_pack.cpp
  bench/bench_unpack.cpp)

add_executable(mirravel_bench ${MIRRAVEL_BENCH_SOURCES})
target_link_libraries(mirravel_bench PRIVATE mirravel_core catpack_lib benchmark::benchmark_main ZLIB::ZLIB)
target_include_directories(mirravel_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(mirravel_bench PRIVATE MIRRAVEL_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
mirravel_strict_warnings(mirravel_bench)
