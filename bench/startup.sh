#!/usr/bin/env bash
# Start-up time and peak working set of mirravel.exe against a bare Win32 window, under Wine in a
# virtual display. Builds the 32-bit Windows targets (or uses BUILD_DIR), then prints the figures.
#   bench/startup.sh [runs]      (default 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/i686}
runs=${1:-15}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" >/dev/null
fi
ninja -C "$build" mirravel bare_window main_window_only startup_bench >/dev/null

text=$root/data/catalogue.txt
arguments=("$build/startup_bench.exe" "$build/mirravel.exe" "$build/bare_window.exe" "$build/main_window_only.exe" "$runs")
[ -f "$text" ] && arguments+=("$text")
exec "$root/scripts/wine-run-test.sh" "${arguments[@]}"
