#!/usr/bin/env bash
# Builds the 32-bit Windows program and starts it: under Wine on Linux (on $DISPLAY, or in a virtual
# display with MIRRAVEL_XVFB=1), natively on Windows (MSYS2 / Git Bash). Extra arguments go to mirravel.exe.
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
cmake -S "$root" -B "$root/build/i686" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" >/dev/null
ninja -C "$root/build/i686" mirravel
exe="$root/build/i686/mirravel.exe"

export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "$@"
elif [ "${MIRRAVEL_XVFB:-0}" = 1 ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$exe" "$@"
else
  echo "No display: \$DISPLAY is not set. Run this on a desktop session, or set MIRRAVEL_XVFB=1 to start" >&2
  echo "the program in a virtual display (Xvfb), where it runs but cannot be seen." >&2
  exit 1
fi
