# shellcheck shell=bash
# Sourced by the test, run and benchmark commands: which Wine loader runs a program, whether this machine
# runs 32-bit programs at all, and one Xvfb display with a fresh Wine prefix shared by a whole run.
#
# Nothing here goes through Debian's `wine` wrapper: it takes the 32-bit loader whenever wine32 is
# installed, even where the kernel runs no 32-bit programs (ia32 emulation off), and then every program,
# wineboot and `wine reg` included, fails with "Exec format error". Each program gets the loader of its
# own bitness instead (the PE header's machine field), and Wine's own tools get one that works here.
#
#   wine_detect_32bit               exports MIRRAVEL_RUNS_32BIT (1 or 0) and, when 0, WINE_NO_32BIT_REASON
#   wine_block_32bit_if_asked SCRIPT ARG...
#                                   under MIRRAVEL_NO_32BIT=1, runs SCRIPT again where 32-bit programs die
#   wine_loader_for PROGRAM         prints the loader that runs PROGRAM (fails, saying why, when none can)
#   wine_run PROGRAM ARGUMENT...    runs PROGRAM through that loader
#   wine_env_start DIR              exports DISPLAY and WINEPREFIX; on failure WINE_ENV_FAILURE says what
#   wine_env_stop                   ends both

WINE_LOADER_32=/usr/lib/wine/wine
WINE_LOADER_64=/usr/lib/wine/wine64
WINE_ENV_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The bitness of a Windows executable: prints 32 or 64; fails for anything else (not a file, not PE, ARM).
wine_pe_bits() {
  local file=$1 bytes offset machine
  [ -f "$file" ] || return 1
  read -r -a bytes <<<"$(od -An -tu1 -N2 -- "$file" 2>/dev/null)"
  [ "${bytes[*]}" = "77 90" ] || return 1  # "MZ"
  read -r -a bytes <<<"$(od -An -tu1 -j60 -N4 -- "$file" 2>/dev/null)"
  [ ${#bytes[@]} -eq 4 ] || return 1
  offset=$((bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24))
  read -r -a bytes <<<"$(od -An -tu1 -j"$offset" -N6 -- "$file" 2>/dev/null)"
  [ ${#bytes[@]} -eq 6 ] && [ "${bytes[*]:0:4}" = "80 69 0 0" ] || return 1  # "PE\0\0"
  machine=$((bytes[4] | bytes[5] << 8))
  case $machine in
    $((0x14c))) echo 32 ;;
    $((0x8664))) echo 64 ;;
    *) return 1 ;;
  esac
}

# Runs the 32-bit loader once. Only "Exec format error" means the kernel refuses 32-bit programs; any other
# failure (say, wine32 missing) is left to show up, with its own message, when a 32-bit program runs.
wine_detect_32bit() {
  if [ "${MIRRAVEL_NO_32BIT:-0}" = 1 ]; then
    MIRRAVEL_RUNS_32BIT=0
    WINE_NO_32BIT_REASON="MIRRAVEL_NO_32BIT=1 is set"
  elif [ -z "${MIRRAVEL_RUNS_32BIT:-}" ]; then
    local output
    MIRRAVEL_RUNS_32BIT=1
    if ! output=$("$WINE_LOADER_32" --version 2>&1) && [[ $output == *"Exec format error"* ]]; then
      MIRRAVEL_RUNS_32BIT=0
      WINE_NO_32BIT_REASON="this kernel runs no 32-bit programs ($WINE_LOADER_32: Exec format error); to run them, boot it with the kernel parameter ia32_emulation=on"
    fi
  fi
  export MIRRAVEL_RUNS_32BIT WINE_NO_32BIT_REASON
}

wine_block_32bit_if_asked() {
  [ "${MIRRAVEL_NO_32BIT:-0}" = 1 ] || return 0
  [ "${WINE_32BIT_BLOCKED:-0}" = 1 ] && return 0
  export WINE_32BIT_BLOCKED=1
  exec python3 "$WINE_ENV_SCRIPTS/block-32bit.py" "$@"
}

wine_loader_for() {
  local program=$1 bits
  [ -n "${MIRRAVEL_RUNS_32BIT:-}" ] || wine_detect_32bit
  bits=$(wine_pe_bits "$program") || bits=tool  # Wine's own programs (wineboot.exe, reg.exe)
  if [ "$bits" = 32 ]; then
    if [ "$MIRRAVEL_RUNS_32BIT" = 0 ]; then
      echo "wine: not starting $program: it is a 32-bit program, and $WINE_NO_32BIT_REASON" >&2
      return 1
    fi
    echo "$WINE_LOADER_32"
  elif [ -x "$WINE_LOADER_64" ]; then
    echo "$WINE_LOADER_64"
  elif [ "$bits" = tool ] && [ "$MIRRAVEL_RUNS_32BIT" = 1 ]; then
    echo "$WINE_LOADER_32"
  else
    echo "wine: not starting $program: $WINE_LOADER_64 is missing (install wine64)" >&2
    return 1
  fi
}

wine_run() {
  local loader
  loader=$(wine_loader_for "$1") || return 126
  WINELOADER=$loader "$loader" "$@"
}

# Prints what failed and the end of the log that tells why; sets WINE_ENV_FAILURE to the short form.
wine_env_fail() {  # short description, log file, explanation
  WINE_ENV_FAILURE=$1
  echo "Wine environment: $3"
  if [ -s "$2" ]; then
    echo "--- end of $2:"
    tail -n 25 "$2"
    echo "---"
  else
    echo "($2 is empty)"
  fi
  return 1
}

wine_env_start() {
  local dir=$1 status
  export WINE_ENV_FAILURE=
  rm -rf "$dir"; mkdir -p "$dir"
  export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  if [ -z "${MIRRAVEL_USE_DISPLAY:-}" ]; then
    local n _
    for n in $(seq 91 140); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if ! kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null; then
      wait "$WINE_ENV_XVFB_PID"; status=$?
      wine_env_fail "Xvfb exited" "$dir/xvfb.log" "Xvfb exited (status $status) instead of opening display :$n."
      return 1
    fi
    if [ ! -e "/tmp/.X11-unix/X$n" ]; then
      wine_env_fail "no Xvfb display" "$dir/xvfb.log" "Xvfb opened no display :$n within 10 s."
      return 1
    fi
  fi
  local wineboot
  wineboot=$(wine_loader_for wineboot.exe) || { WINE_ENV_FAILURE="no Wine loader"; return 1; }
  WINELOADER=$wineboot timeout 300 "$wineboot" wineboot.exe --init >"$dir/wineboot.log" 2>&1; status=$?
  if [ $status -ne 0 ]; then
    wine_env_fail "wineboot failed" "$dir/wineboot.log" \
      "creating the prefix failed: $wineboot wineboot.exe --init ended with status $status."
    return 1
  fi
  # Unmanaged windows: without a window manager, hiding managed windows stalls about 2 s.
  WINELOADER=$wineboot "$wineboot" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >"$dir/reg.log" 2>&1; status=$?
  if [ $status -ne 0 ]; then
    wine_env_fail "wine reg failed" "$dir/reg.log" \
      "setting the X11 driver's Managed=N failed: $wineboot reg.exe add ended with status $status."
    return 1
  fi
  wineserver -w
  return 0
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1
  [ -n "${WINE_ENV_XVFB_PID:-}" ] && kill "$WINE_ENV_XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  return 0
}
