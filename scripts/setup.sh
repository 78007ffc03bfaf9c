#!/bin/bash
# One idempotent set-up: installs what is missing (Debian 12, as root), configures the
# build folder and prepares its own Wine prefix.  Usage: scripts/setup.sh [build-folder]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")

PKGS=(g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 cmake make
      googletest wine wine32:i386 xvfb xauth xdotool imagemagick fonts-liberation cups
      cups-client cups-bsd printer-driver-cups-pdf libcups2:i386 poppler-utils
      python3-olefile rhash x11-utils procps)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  dpkg --print-foreign-architectures | grep -q i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Configure once; later runs only build what changed.
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
fi

# The build's own Wine prefix (never the user's ~/.wine).
export WINEPREFIX="$BUILD/wine" WINEARCH=win32 WINEDEBUG=-all LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/.sl-ready" ]; then
  echo "setup: creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  ( unset DISPLAY; wineboot -i >/dev/null 2>&1 )
  reg=$(mktemp --suffix=.reg)
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"
REG
  ( unset DISPLAY; wine regedit /S "$reg" >/dev/null 2>&1 )
  rm -f "$reg"
  # Debian's wine does not see its own fonts (Tahoma, Marlett, ...) by itself.
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # A server left behind by this headless run would break a later run on a display.
  wineserver -w
  touch "$WINEPREFIX/.sl-ready"
fi
