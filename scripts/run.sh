#!/usr/bin/env bash
# Builds the 32-bit Windows program and starts it: under Wine on Linux (on $DISPLAY, or in a virtual
# display with MIRRAVEL_XVFB=1), natively on Windows (MSYS2 / Git Bash). Extra arguments go to mirravel.exe.
# Where this machine runs no 32-bit programs (or with MIRRAVEL_NO_32BIT=1) it builds and starts the
# x86_64 program instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$root/build/windows" --config Release --target mirravel
    exe="$root/build/windows/mirravel.exe"
    [ -f "$exe" ] || exe="$root/build/windows/Release/mirravel.exe"
    exec "$exe" "$@"
    ;;
esac

scripts/install-deps.sh
source scripts/wine-env.sh
wine_block_32bit_if_asked "$root/scripts/run.sh" "$@"
wine_detect_32bit
if [ "$MIRRAVEL_RUNS_32BIT" = 1 ]; then
  build=i686 toolchain=i686
else
  build=x64 toolchain=x86_64
  echo "Starting the x86_64 build (build/x64/mirravel.exe) instead of the 32-bit one: $WINE_NO_32BIT_REASON." >&2
fi
cmake -S "$root" -B "$root/build/$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$toolchain-mingw.cmake" >/dev/null
ninja -C "$root/build/$build" mirravel
exe="$root/build/$build/mirravel.exe"
loader=$(wine_loader_for "$exe")
export WINELOADER=$loader

export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -n "${DISPLAY:-}" ]; then
  exec "$loader" "$exe" "$@"
elif [ "${MIRRAVEL_XVFB:-0}" = 1 ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$loader" "$exe" "$@"
else
  echo "No display: \$DISPLAY is not set. Run this on a desktop session, or set MIRRAVEL_XVFB=1 to start" >&2
  echo "the program in a virtual display (Xvfb), where it runs but cannot be seen." >&2
  exit 1
fi
