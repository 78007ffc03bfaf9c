#!/bin/bash
# One idempotent set-up: installs what is missing (Debian 12, as root), finds out which of
# the two targets this machine runs, and configures each target's build folder with its own
# Wine prefix.  Usage: scripts/setup.sh [build-folder [32|64 ...]]
# Without targets it prepares every target the machine runs, and configures the build of a
# target it cannot run (no Wine prefix for that one).  It prints one line naming them; the
# callers read the runnable ones from <build>/targets, the built-only ones from
# <build>/build-only-targets.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
[ $# -gt 0 ] && shift
. "$ROOT/scripts/targets.sh"

PKGS=(g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 cmake make
      googletest wine wine32:i386 wine64 xvfb xauth xdotool imagemagick fonts-liberation cups
      cups-client cups-bsd printer-driver-cups-pdf libcups2:i386 libcups2 poppler-utils
      python3 python3-olefile fontconfig rhash x11-utils procps clang-format)

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

sl_probe_targets
echo "setup: $(sl_targets_line)"
targets=("$@")
build_only=()
if [ ${#targets[@]} -eq 0 ]; then
  read -r -a targets <<<"$SL_TARGETS"
  # A target this machine cannot run is still built (the build needs no Wine), so that a
  # change that breaks it fails here too.
  for t in 32 64; do
    [[ " $SL_TARGETS " == *" $t "* ]] || build_only+=("$t")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "setup: no target can run here. Install Wine (packages wine64, and wine32:i386 where the" >&2
  echo "setup: kernel runs 32-bit programs) and run this again." >&2
  exit 1
fi
mkdir -p "$BUILD"
echo "${targets[*]}" > "$BUILD/targets"
if [ $# -eq 0 ]; then
  echo "${build_only[*]}" > "$BUILD/build-only-targets"
fi
for t in "${build_only[@]}"; do
  echo "setup: the ${t}-bit target is built but not run here"
  dir=$(sl_target_dir "$BUILD" "$t")
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$(sl_toolchain "$t")" >/dev/null
  fi
done

# Runs one step of Wine's set-up with its output kept; a failure shows Wine's own words.
wine_step() {   # wine_step <loader> <what> <command...>
  local loader=$1 what=$2 log; shift 2
  log=$(mktemp)
  if ! ( unset DISPLAY; "$@" ) >"$log" 2>&1; then
    echo "setup: $what failed; Wine said:" >&2
    tail -n 20 "$log" | sed 's/^/  /' >&2
    echo "setup: check that Wine runs here ('$loader --version'), delete $WINEPREFIX and run" \
         "the set-up again." >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

for t in "${targets[@]}"; do
  dir=$(sl_target_dir "$BUILD" "$t")
  toolchain=$(sl_toolchain "$t")
  loader=$SL_WINE64; [ "$t" = 32 ] && loader=$SL_WINE32
  if ! [[ " $SL_TARGETS " == *" $t "* ]]; then
    echo "setup: the ${t}-bit target cannot run here ($SL_TARGETS_WHY); choose another." >&2
    exit 1
  fi
  # Configure once; later runs only build what changed.
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  fi
  # The target's own Wine prefix (never the user's ~/.wine).
  sl_wine_env "$dir"
  if [ ! -f "$WINEPREFIX/.sl-ready" ]; then
    echo "setup: creating the ${t}-bit Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine_step "$loader" "creating the Wine prefix (wineboot)" wineboot -i
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
    wine_step "$loader" "writing the prefix's font and window settings (regedit)" wine regedit /S "$(winepath -w "$reg")"
    rm -f "$reg"
    # Debian's wine does not see its own fonts (Tahoma, Marlett, ...) by itself.
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # A server left behind by this headless run would break a later run on a display.
    wineserver -w
    touch "$WINEPREFIX/.sl-ready"
  fi
  # A crash prints its backtrace and ends the process instead of waiting behind Wine's
  # crash box until the test times out (prefixes made before this also get it).
  if [ ! -f "$WINEPREFIX/.sl-nocrashbox" ]; then
    wine_step "$loader" "turning off Wine's crash box (reg)" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wineserver -w
    touch "$WINEPREFIX/.sl-nocrashbox"
  fi
  # Wine links the prefix's Documents to the user's home: the prefix gets a folder of its
  # own instead, so that nothing a test does reaches the home folder, and the test command
  # sees there whatever a test left behind (prefixes made before this also get it).
  docs=$(sl_wine_documents "$dir")
  if [ -L "$docs" ]; then
    rm -f "$docs"
    mkdir -p "$docs"
  fi
done
