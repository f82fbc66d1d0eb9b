#!/usr/bin/env bash
# Start-up time and peak working set of mirravel.exe against a bare Win32 window, under Wine in a
# virtual display. Builds the 32-bit Windows targets (or uses BUILD_DIR), then prints the figures.
# Where this machine runs no 32-bit programs (or with MIRRAVEL_NO_32BIT=1) it measures the x86_64 build.
#   bench/startup.sh [runs]      (default 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
source "$root/scripts/wine-env.sh"
wine_block_32bit_if_asked "$root/bench/startup.sh" "$@"
wine_detect_32bit
if [ "$MIRRAVEL_RUNS_32BIT" = 1 ]; then
  build=${BUILD_DIR:-$root/build/i686} toolchain=i686
else
  build=${BUILD_DIR:-$root/build/x64} toolchain=x86_64
  echo "Measuring the x86_64 build: $WINE_NO_32BIT_REASON." >&2
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$toolchain-mingw.cmake" >/dev/null
fi
ninja -C "$build" mirravel bare_window main_window_only startup_bench >/dev/null
echo "Measuring $build/mirravel.exe ($(wine_pe_bits "$build/mirravel.exe")-bit)"

text=$root/data/catalogue.txt
arguments=("$build/startup_bench.exe" "$build/mirravel.exe" "$build/bare_window.exe" "$build/main_window_only.exe" "$runs")
[ -f "$text" ] && arguments+=("$text" "$root/data/catalogue.jc")
exec "$root/scripts/wine-run-test.sh" "${arguments[@]}"
