# Sourced by the other scripts: the Wine environment of the build folder, and the functions that
# start and stop it. The prefix, HOME and every Wine process live inside the build folder.
#   KORVAL_BUILD  the build folder (default: <project>/build)

korval_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export KORVAL_BUILD=${KORVAL_BUILD:-$korval_root/build}
export WINEPREFIX=$KORVAL_BUILD/wineprefix
export WINEARCH=win64
export HOME=$KORVAL_BUILD/home
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8   # ANSI code page 932, as on a Japanese Windows
export TZ=Asia/Tokyo                          # fixed, so that time tests are deterministic
export WINEDEBUG=fixme-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export PATH=/usr/lib/wine:$PATH
KORVAL_WINE=/usr/lib/wine/wine64
KORVAL_WINESERVER=/usr/lib/wine/wineserver

# Registry values: no crash dialog, one virtual desktop with frames drawn by Wine (no 2 s
# DestroyWindow without a window manager), and the graphics driver of the caller's choice.
korval_wine_registry() {
  local graphics=$1 reg=$KORVAL_BUILD/wine-settings.reg
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="%s"\r\n\r\n' "$graphics"
  } >"$reg"
  "$KORVAL_WINE" regedit /S "$(winepath_of "$reg")" </dev/null >/dev/null 2>&1
}

winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# Starts a persistent wineserver and boots the prefix (created on first use).
#   $1  graphics driver: "null" for tests, "x11" for a real display
korval_wine_up() {
  local graphics=${1:-null}
  mkdir -p "$WINEPREFIX" "$HOME"
  "$KORVAL_WINESERVER" -p
  # Every process Wine starts inherits our streams; detach them all or callers wait forever.
  "$KORVAL_WINE" wineboot </dev/null >"$KORVAL_BUILD/wineboot.log" 2>&1
  korval_wine_registry "$graphics"
}

korval_wine_down() {
  "$KORVAL_WINESERVER" -k >/dev/null 2>&1 || true
  "$KORVAL_WINESERVER" -w >/dev/null 2>&1 || true
}
