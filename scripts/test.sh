#!/usr/bin/env bash
# Builds everything (native, sanitizers with fuzz targets, i686 and x86_64 Windows) and runs every
# unit, fuzz-smoke and end-to-end test. Ends with one summary line; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh || { echo "SUMMARY: dependency installation failed"; exit 1; }

build="$root/build"
failed_steps=()
passed=0
failed=0

configure_and_build() {  # name, cmake arguments...
  local name=$1; shift
  echo "=== build $name"
  if ! cmake -S "$root" -B "$build/$name" -G Ninja "$@" >"$build/$name.configure.log" 2>&1; then
    cat "$build/$name.configure.log"; failed_steps+=("configure $name"); return 1
  fi
  if ! ninja -C "$build/$name" >"$build/$name.build.log" 2>&1; then
    tail -n 60 "$build/$name.build.log"; failed_steps+=("build $name"); return 1
  fi
}

run_ctest() {  # name
  local name=$1 log="$build/$1.ctest.log"
  echo "=== test $name"
  ctest --test-dir "$build/$name" --output-on-failure --timeout 600 >"$log" 2>&1
  local total bad
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n 1)
  if [ -z "$total" ]; then
    grep -q "No tests were found" "$log" && return 0
    cat "$log"; failed_steps+=("ctest $name"); return 1
  fi
  passed=$((passed + total - bad)); failed=$((failed + bad))
  sed -n '/tests passed/,$p' "$log"
  [ "$bad" -eq 0 ] || { grep -B2 -A40 -E '\*\*\*Failed|Failed  |\*\*\*Timeout|\*\*\*Exception' "$log" | head -n 200; }
}

mkdir -p "$build"
configure_and_build native -DCMAKE_BUILD_TYPE=Release && run_ctest native
configure_and_build sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DMIRRAVEL_SANITIZE=ON -DMIRRAVEL_FUZZ=ON -DMIRRAVEL_BENCHMARKS=OFF && run_ctest sanitize

windows_ok=1
configure_and_build i686 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" || windows_ok=0
configure_and_build x64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake" || windows_ok=0

if [ $windows_ok -eq 1 ]; then
  # One display and one fresh Wine prefix for the whole run; the end-to-end tests share them.
  source scripts/wine-env.sh
  if wine_env_start "$build/wine-$$"; then
    run_ctest i686
    run_ctest x64
    wine_env_stop
  else
    failed_steps+=("wine environment")
  fi
fi

echo
if [ ${#failed_steps[@]} -gt 0 ]; then
  echo "Steps that failed: ${failed_steps[*]}"
fi
echo "SUMMARY: $passed passed, $failed failed${failed_steps:+, ${#failed_steps[@]} steps failed}"
[ $failed -eq 0 ] && [ ${#failed_steps[@]} -eq 0 ]
