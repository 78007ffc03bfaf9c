# Sourced by the set-up, test and run scripts: the two Windows targets, which of them this
# machine can run, and the environment that runs one target's programs under Wine.
#
# Each target has its own build folder, <build>/win32 or <build>/win64, with its own Wine
# prefix (a 32-bit prefix for the 32-bit program, a 64-bit one for the 64-bit program).

# The loaders may be named otherwise (to try the road of a machine that lacks one).
SL_WINE32=${SL_WINE32:-/usr/lib/wine/wine}
SL_WINE64=${SL_WINE64:-/usr/lib/wine/wine64}

sl_target_dir() {   # sl_target_dir <build> <32|64>
  echo "$1/win$2"
}

sl_toolchain() {    # sl_toolchain <32|64>: the CMake toolchain file of the target
  case "$1" in
    32) echo "$ROOT/cmake/mingw-i686.cmake" ;;
    64) echo "$ROOT/cmake/mingw-x86_64.cmake" ;;
    *) echo "unknown target '$1' (32 or 64)" >&2; return 1 ;;
  esac
}

# Sets SL_TARGETS to the targets this machine runs ("32 64", "64" or "32") and
# SL_TARGETS_WHY to why a target is missing.  The 32-bit Wine loader is itself a 32-bit
# Linux program: a kernel without 32-bit support refuses it ("Exec format error").
sl_probe_targets() {
  local out
  SL_TARGETS="" SL_TARGETS_WHY=""
  if [ ! -x "$SL_WINE32" ]; then
    SL_TARGETS_WHY="the 32-bit Wine loader $SL_WINE32 is missing (package wine32:i386)"
  elif out=$("$SL_WINE32" --version 2>&1) && [[ "$out" == wine-* ]]; then
    SL_TARGETS="32"
  else
    SL_TARGETS_WHY="this machine cannot run the 32-bit Wine loader: $(echo "$out" | tail -n 1 | sed "s/^.*line [0-9]*: //")"
  fi
  if [ ! -x "$SL_WINE64" ]; then
    SL_TARGETS_WHY="${SL_TARGETS_WHY:+$SL_TARGETS_WHY; }the 64-bit Wine loader $SL_WINE64 is missing (package wine64)"
  elif out=$("$SL_WINE64" --version 2>&1) && [[ "$out" == wine-* ]]; then
    SL_TARGETS="${SL_TARGETS:+$SL_TARGETS }64"
  else
    SL_TARGETS_WHY="${SL_TARGETS_WHY:+$SL_TARGETS_WHY; }this machine cannot run the 64-bit Wine loader: $(echo "$out" | tail -n 1)"
  fi
}

sl_targets_line() {   # the one line that tells what was found
  case "$SL_TARGETS" in
    "32 64") echo "targets: this machine runs both, 32-bit and 64-bit" ;;
    "64") echo "targets: this machine runs the 64-bit target only ($SL_TARGETS_WHY)" ;;
    "32") echo "targets: this machine runs the 32-bit target only ($SL_TARGETS_WHY)" ;;
    *) echo "targets: this machine runs neither target ($SL_TARGETS_WHY)" ;;
  esac
}

# Exports what runs one target's programs: the build's prefix, and its bin folder first on
# PATH, so that "wine", "winepath" and "wineboot" are this target's (the build makes them).
sl_wine_env() {   # sl_wine_env <target-build-folder>
  export WINEPREFIX="$1/wine" WINEDEBUG=-all LC_ALL=C.UTF-8 LANG=C.UTF-8
  export WINEDLLOVERRIDES="winemenubuilder.exe=d"
  export PATH="$1/bin:$PATH"
  unset WINEARCH WINELOADER
}

# The Wine user's Documents folder of a target's prefix (where the system's dialogs first
# open), as a Linux path.
sl_wine_documents() {   # sl_wine_documents <target-build-folder>
  echo "$1/wine/drive_c/users/$(id -un)/Documents"
}
