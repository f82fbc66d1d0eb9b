# Sourced by the test and run commands: an Xvfb display and a fresh Wine prefix, set up once.
# wine_env_start DIR exports DISPLAY and WINEPREFIX; wine_env_stop ends both.

wine_env_start() {
  local dir=$1
  rm -rf "$dir"; mkdir -p "$dir"
  export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  if [ -z "${MIRRAVEL_USE_DISPLAY:-}" ]; then
    local n
    for n in $(seq 91 140); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  wineboot --init >"$dir/wineboot.log" 2>&1 || { cat "$dir/wineboot.log"; return 1; }
  # Unmanaged windows: without a window manager, hiding managed windows stalls about 2 s.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  return 0
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1
  [ -n "${WINE_ENV_XVFB_PID:-}" ] && kill "$WINE_ENV_XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  return 0
}
