# Sourced by the other scripts: the Wine environment of the build folder, and the functions that
# start and stop it. The prefix, HOME and every Wine process live inside the build folder.
#   KORVAL_BUILD   the build folder (default: <project>/build)
#   KORVAL_PREFIX  the Wine prefix (default: <build>/wineprefix)

korval_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export KORVAL_BUILD=${KORVAL_BUILD:-$korval_root/build}
export KORVAL_PREFIX=${KORVAL_PREFIX:-$KORVAL_BUILD/wineprefix}  # a session of its own may choose another
export WINEPREFIX=$KORVAL_PREFIX
export WINEARCH=win64
export HOME=$KORVAL_BUILD/home
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8   # ANSI code page 932, as on a Japanese Windows
export TZ=Asia/Tokyo                          # fixed, so that time tests are deterministic
export WINEDEBUG=${WINEDEBUG:-fixme-all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export PATH=/usr/lib/wine:$PATH
KORVAL_WINE=/usr/lib/wine/wine64
KORVAL_WINESERVER=/usr/lib/wine/wineserver

# Registry values: no crash dialog, the graphics driver of the caller's choice, and (unless told
# "native") one virtual desktop with frames drawn by Wine: without a window manager every
# DestroyWindow of a visible window would cost 2 s, and screenshots get a whole desktop.
#   KORVAL_DESKTOP  the desktop's size (default 1920x1080, a laptop's panel)
#   KORVAL_DPI      the display's dots per inch for the programs (default 96, that is 100 %); set at
#                   every start, so a run cut short while a test had changed it leaves nothing behind
korval_wine_registry() {
  local graphics=$1 desktop=${2:-virtual} reg=$KORVAL_BUILD/wine-settings.reg
  local desktopValue='"Default"'
  [ "$desktop" = native ] && desktopValue=-
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"=%s\r\n\r\n' "$desktopValue"
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n\r\n' "${KORVAL_DESKTOP:-1920x1080}"
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n' "${KORVAL_DPI:-96}"
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="%s"\r\n\r\n' "$graphics"
  } >"$reg"
  "$KORVAL_WINE" regedit /S "$(winepath_of "$reg")" </dev/null >/dev/null 2>&1
}

winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# Starts a persistent wineserver and boots the prefix (created on first use).
#   $1  graphics driver: "null" for tests, "x11" for a display
#   $2  "virtual" (default) for one virtual desktop, "native" for windows of their own
korval_wine_up() {
  mkdir -p "$WINEPREFIX" "$HOME"
  # Every process Wine starts inherits our streams; detach them all or callers wait forever.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$KORVAL_WINESERVER" -p
    "$KORVAL_WINE" wineboot </dev/null >"$KORVAL_BUILD/wineboot.log" 2>&1
    korval_wine_down
  fi
  # The graphics driver and desktop are chosen before anything opens a window in this session.
  "$KORVAL_WINESERVER" -p
  korval_wine_registry "${1:-null}" "${2:-virtual}"
  "$KORVAL_WINE" wineboot </dev/null >>"$KORVAL_BUILD/wineboot.log" 2>&1
  # This Wine does not look in /usr/share/wine/fonts; without Marlett the caption buttons read "0 1 r".
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  fi
}

korval_wine_down() {
  "$KORVAL_WINESERVER" -k >/dev/null 2>&1 || true
  "$KORVAL_WINESERVER" -w >/dev/null 2>&1 || true
}

# Starts Xvfb on a display it picks itself, with one screen of the given size, and exports DISPLAY
# and KORVAL_DESKTOP (the Wine desktop of the same size). Waits at most 30 s for it.
#   $1  the screen's size, as 1920x1080;  $2  the log file
korval_xvfb_up() {
  local displayfd display=""
  exec {displayfd}<> <(:)
  Xvfb -displayfd "$displayfd" -screen 0 "$1x24" -nolisten tcp </dev/null >"$2" 2>&1 &
  KORVAL_XVFB_PID=$!
  for _ in $(seq 1 300); do
    read -r -t 0.1 -u "$displayfd" display && break
  done
  [ -n "$display" ] || return 1
  export DISPLAY=:$display KORVAL_DESKTOP=$1
}

korval_xvfb_down() {
  [ -n "${KORVAL_XVFB_PID:-}" ] && kill "$KORVAL_XVFB_PID" 2>/dev/null
  true
}
