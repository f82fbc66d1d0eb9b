#!/usr/bin/env bash
# Runs one end-to-end suite under Wine: wine-run-test.sh SUITE.exe ARGUMENT...
# Arguments that are absolute Unix paths are handed over as Wine paths (drive Z: is the Unix root).
# The suite runs through the Wine loader of its own bitness (wine-env.sh). Uses the display and prefix
# that the test command exported; when run alone it sets up its own (Xvfb and a fresh prefix) and
# removes them afterwards.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
timeout_s=${MIRRAVEL_E2E_TIMEOUT:-240}

[ $# -ge 1 ] || { echo "usage: $0 SUITE.exe [ARGUMENT...]" >&2; exit 2; }
source "$root/scripts/wine-env.sh"
wine_block_32bit_if_asked "$root/scripts/wine-run-test.sh" "$@"
wine_detect_32bit
loader=$(wine_loader_for "$1") || exit 126

to_wine_path() {
  case "$1" in
    /*) printf 'Z:%s' "${1//\//\\}" ;;
    *) printf '%s' "$1" ;;
  esac
}

arguments=()
for argument in "$@"; do arguments+=("$(to_wine_path "$argument")"); done

own_env=0
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  own_dir=$(mktemp -d "${TMPDIR:-/tmp}/mirravel-wine-XXXXXX")
  wine_env_start "$own_dir" || { wine_env_stop; rm -rf "$own_dir"; exit 1; }
  own_env=1
fi
export WINEDEBUG=${WINEDEBUG:--all}

WINELOADER=$loader timeout --kill-after=10 "$timeout_s" "$loader" "${arguments[@]}"
status=$?
[ $status -eq 124 ] && echo "suite timed out after ${timeout_s} s: $1"

if [ $own_env -eq 1 ]; then
  wine_env_stop
  rm -rf "$own_dir"
fi
exit $status
