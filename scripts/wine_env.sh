# Sourced by run.sh, test.sh and bench.sh: a Wine prefix and an X display of
# this run's own, so runs never see each other's state.
#   postlark_wine_up DIR [keep]
#                          make a fresh prefix in DIR (with "keep": reuse one
#                          already there), start Xvfb unless a display is
#                          wanted, warm the Wine server
#   postlark_wine_down     stop the server and the virtual display
# With POSTLARK_WINE_DESKTOP=WxH a fresh prefix shows a Wine desktop of that
# size, with a taskbar and notification area.

POSTLARK_WINE=${POSTLARK_WINE:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine}

postlark_wine_up() {
  local dir=$1 keep=${2:-}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEPREFIX=$dir
  local fresh=1
  if [ "$keep" = keep ] && [ -f "$dir/system.reg" ]; then fresh=; else rm -rf "$dir"; mkdir -p "$dir"; fi

  if [ -z "${POSTLARK_USE_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    local n=$(( 90 + RANDOM % 400 ))
    while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    POSTLARK_XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  fi

  # No pipes on anything that may start the Wine services: they would inherit them.
  if [ -n "$fresh" ]; then
  "$POSTLARK_WINE" wineboot -i </dev/null >/dev/null 2>&1
  local w=$POSTLARK_WINE
  {
    "$w" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    "$w" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    "$w" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f
    "$w" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f
    "$w" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /d 'DejaVu Sans' /f
    if [ -n "${POSTLARK_WINE_DESKTOP:-}" ]; then
      "$w" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
      "$w" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$POSTLARK_WINE_DESKTOP" /f
      "$w" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v EnableShell /t REG_DWORD /d 1 /f
    fi
  } </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1
  fi
  wineserver -p 900 </dev/null >/dev/null 2>&1
  # Start the desktop and its tray now, outside any pipe.
  "$POSTLARK_WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

# The exe of a build this machine can run: the shipped 32-bit one where the
# kernel runs 32-bit programs, else the 64-bit one.
postlark_runnable_build() {
  local root=$1
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "$root/build"
  else
    echo "$root/build/x86_64"
  fi
}

postlark_wine_down() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "${POSTLARK_XVFB_PID:-}" ]; then kill "$POSTLARK_XVFB_PID" 2>/dev/null || true; fi
}
