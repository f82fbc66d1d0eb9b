#!/usr/bin/env bash
# Builds everything (native, sanitizers with fuzz targets, i686 and x86_64 Windows) and runs every
# unit, fuzz-smoke and end-to-end test. Ends with one summary line; exits non-zero on any failure.
#
# Where this machine runs no 32-bit programs (kernel without ia32 emulation), or with MIRRAVEL_NO_32BIT=1,
# the i686 build is still compiled and linked, but its tests that run under Wine are not run; they are
# named on one line and counted as skipped. MIRRAVEL_TEST_ONLY=windows builds and tests only the two
# Windows targets (to iterate on the Wine side; the default runs everything).
#
# Every ctest run sees MIRRAVEL_RUNS_32BIT=1 or 0 in its environment: whether 32-bit programs can run
# here. A test that needs both bitnesses (a 64-bit program with a 32-bit peer) reads it and reports
# itself skipped when it is 0 (through ctest's SKIP_RETURN_CODE property); the summary counts it as skipped.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1

scripts/install-deps.sh || { echo "SUMMARY: dependency installation failed"; exit 1; }

source scripts/wine-env.sh
wine_block_32bit_if_asked "$root/scripts/test.sh" "$@"
unset MIRRAVEL_RUNS_32BIT
wine_detect_32bit

build="$root/build"
only=${MIRRAVEL_TEST_ONLY:-all}
failed_steps=()
passed=0
failed=0
skipped=0
not_run_note=

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

run_ctest() {  # name, ctest arguments...
  local name=$1 log="$build/$1.ctest.log"; shift
  echo "=== test $name"
  ctest --test-dir "$build/$name" --output-on-failure --timeout 600 "$@" >"$log" 2>&1
  local total bad
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n 1)
  if [ -z "$total" ]; then
    grep -q "No tests were found" "$log" && return 0
    cat "$log"; failed_steps+=("ctest $name"); return 1
  fi
  local skips  # tests that reported themselves skipped (SKIP_RETURN_CODE); ctest counts them as passed
  skips=$(grep -c '^[[:space:]]*[0-9]* - .* (Skipped)$' "$log")
  passed=$((passed + total - bad - skips)); failed=$((failed + bad)); skipped=$((skipped + skips))
  sed -n '/tests passed/,$p' "$log"
  [ "$bad" -eq 0 ] || { grep -B2 -A40 -E '\*\*\*Failed|Failed  |\*\*\*Timeout|\*\*\*Exception' "$log" | head -n 200; }
}

# The names of a build's tests that run a program under Wine (through scripts/wine-run-test.sh).
wine_tests_of() {  # name
  ctest --test-dir "$build/$1" --show-only=json-v1 | python3 -c '
import json, sys
for test in json.load(sys.stdin).get("tests", []):
    if any("wine-run-test.sh" in part for part in test.get("command", [])):
        print(test["name"])'
}

# The i686 tests, less those that run under Wine when 32-bit programs cannot run here.
run_i686_ctest() {
  [ "$MIRRAVEL_RUNS_32BIT" = 1 ] && { run_ctest i686; return; }
  local names
  if ! names=$(wine_tests_of i686); then failed_steps+=("listing the i686 tests"); return 1; fi
  if [ -z "$names" ]; then run_ctest i686; return; fi
  skipped=$((skipped + $(wc -l <<<"$names")))
  not_run_note="Not run: the $(wc -l <<<"$names") i686 tests that run 32-bit programs under Wine ($(paste -sd" " <<<"$names")): $WINE_NO_32BIT_REASON."
  run_ctest i686 -E "^($(paste -sd'|' <<<"$names"))\$"
}

mkdir -p "$build"
if [ "$only" = all ]; then
  configure_and_build native -DCMAKE_BUILD_TYPE=Release && run_ctest native
  configure_and_build sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DMIRRAVEL_SANITIZE=ON -DMIRRAVEL_FUZZ=ON -DMIRRAVEL_BENCHMARKS=OFF && run_ctest sanitize
elif [ "$only" != windows ]; then
  echo "MIRRAVEL_TEST_ONLY=$only: only \"windows\" (or nothing, for everything) is understood"
  exit 2
fi

windows_ok=1
configure_and_build i686 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" || windows_ok=0
configure_and_build x64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake" || windows_ok=0

if [ $windows_ok -eq 1 ]; then
  # One display and one fresh Wine prefix for the whole run; the end-to-end tests share them.
  echo "=== Wine environment (32-bit programs run here: $([ "$MIRRAVEL_RUNS_32BIT" = 1 ] && echo yes || echo "no, $WINE_NO_32BIT_REASON"))"
  if wine_env_start "$build/wine"; then
    run_i686_ctest
    run_ctest x64
  else
    failed_steps+=("wine environment ($WINE_ENV_FAILURE)")
  fi
  wine_env_stop
fi

echo
[ -n "$not_run_note" ] && echo "$not_run_note"
if [ ${#failed_steps[@]} -gt 0 ]; then
  steps=$(printf '%s; ' "${failed_steps[@]}")
  echo "Steps that failed: ${steps%; }"
fi
summary="SUMMARY: $passed passed, $failed failed"
[ $skipped -gt 0 ] && summary+=", $skipped skipped"
[ ${#failed_steps[@]} -gt 0 ] && summary+=", ${#failed_steps[@]} steps failed"
echo "$summary"
[ $failed -eq 0 ] && [ ${#failed_steps[@]} -eq 0 ]
