# Shared set-up for tools/run and tools/test: packages, builds, a private X
# display and a private Wine prefix. Sourced, not run.

EMBRIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EMBRIX_BUILD=$EMBRIX_ROOT/build
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

EMBRIX_PACKAGES=(cmake make g++ libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb xserver-xephyr xdotool x11-utils imagemagick
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev
  nsis zip osslsigncode openssl faketime ninja-build
  clang libclang-rt-14-dev
  qemu-system-x86 qemu-user-static debootstrap debian-archive-keyring e2fsprogs)
# The XScreenSaver daemon (Debian's, the host of the X11 display mode) and
# what makes and tests its packages, the .deb and the RPM.
EMBRIX_PACKAGES+=(xscreensaver dpkg-dev procps libxml2-utils rpm cpio)
# Wine's own fonts, which its dialogs and caption buttons are drawn with.
EMBRIX_PACKAGES+=(fonts-wine)

log() { printf '== %s\n' "$*" >&2; }

# The version on the project line of CMakeLists.txt.
embrix_version() {
  sed -nE 's/^project\(Embrix VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' "$EMBRIX_ROOT/CMakeLists.txt"
}

# Installs whatever of EMBRIX_PACKAGES is missing.
ensure_packages() {
  local missing=()
  for p in "${EMBRIX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    local sudo=; [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # New builds use Ninja, the faster generator here; a build folder keeps
  # the generator it was first configured with.
  if [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja >/dev/null; then export CMAKE_GENERATOR=Ninja; fi
}

# configure_build NAME [cmake args...]: configures build/NAME once from the
# preset NAME of CMakePresets.json, then builds it.
configure_build() {
  local name=$1; shift
  local dir=$EMBRIX_BUILD/$name
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    (cd "$EMBRIX_ROOT" && cmake --preset "$name" -B "$dir" "$@") >/dev/null || return 1
  fi
  log "building $name"
  local out rc
  out=$(cmake --build "$dir" -j"$(nproc)" 2>&1); rc=$?
  grep -vE '^\[ *[0-9]+%\]|^\[[0-9]+/[0-9]+\] |^gmake|Consolidate compiler generated' <<<"$out" >&2 || true
  return $rc
}

build_all() {
  local name
  for name in native native-asan win32 win64; do configure_build "$name" || return 1; done
}

EMBRIX_PIDS=()

# Starts a private Xvfb on a free display and exports DISPLAY.
start_xvfb() {
  local size=${1:-1024x768x24}
  local fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  EMBRIX_PIDS+=($!)
  local i
  for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  [ -s "$fdfile" ] || { log "Xvfb did not start"; return 1; }
  export DISPLAY=":$(head -1 "$fdfile")"
  rm -f "$fdfile"
  log "Xvfb on $DISPLAY ($size)"
}

# A private Wine prefix under build/, made once; never the user's ~/.wine.
setup_wine_prefix() {
  export WINEPREFIX=$EMBRIX_BUILD/wineprefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/.embrix-ready-2" ]; then
    log "making the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
    # Closing a managed full-screen window costs seconds; tests close many.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A test program that crashes gets its backtrace printed and ends, rather
    # than waiting behind a crash dialog that nobody will click.
    "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.embrix-ready-2"
  fi
  # Wine's own fonts (fonts-wine) lie in its data folder, where this Wine does
  # not find them: without them the dialog gets a stand-in for "MS Sans Serif"
  # and the caption buttons letters for Marlett's symbols.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ ! -e "$fonts/marlett.ttf" ] && [ -e /usr/share/wine/fonts/marlett.ttf ]; then
    ln -sf /usr/share/wine/fonts/* "$fonts/"
  fi
}

# A private display with two monitors side by side, as a desk has them: a
# 1024x768 primary at (0,0) and a 1280x1024 monitor at (1024,0), which Wine
# and the XScreenSaver daemon both see. Xvfb lays all its screens at the
# origin, so Xephyr with +xinerama runs inside a private Xvfb. Sets
# TWO_MONITOR_DISPLAY; both servers end with cleanup_processes.
start_two_monitors() {
  local host fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 2560x1280x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  EMBRIX_PIDS+=($!)
  local i
  for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  host=":$(head -1 "$fdfile")"
  : >"$fdfile"
  DISPLAY=$host Xephyr -displayfd 3 -screen 1024x768 -screen 1280x1024 +xinerama -noreset \
    -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  EMBRIX_PIDS+=($!)
  for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  [ -s "$fdfile" ] || { log "the two-monitor display did not start"; rm -f "$fdfile"; return 1; }
  TWO_MONITOR_DISPLAY=":$(head -1 "$fdfile")"
  rm -f "$fdfile"
}

# For the Windows test that needs two monitors: the display of
# start_two_monitors, and a copy of the prefix in which Wine reads them
# through Xinerama (UseXRandR N: Xephyr has one RandR output), made once.
# Sets TWO_MONITOR_DISPLAY and TWO_MONITOR_PREFIX.
setup_two_monitors() {
  start_two_monitors || return 1
  TWO_MONITOR_PREFIX=$EMBRIX_BUILD/wineprefix-two-monitors
  local ready=$TWO_MONITOR_PREFIX/.embrix-two-monitors
  if [ ! -f "$ready" ] || [ "$WINEPREFIX/.embrix-ready-2" -nt "$ready" ]; then
    log "making the two-monitor Wine prefix $TWO_MONITOR_PREFIX"
    "$WINESERVER" -w
    rm -rf "$TWO_MONITOR_PREFIX"
    cp -a "$WINEPREFIX" "$TWO_MONITOR_PREFIX" || return 1
    # Wine's desktop reads the monitors when it starts: the value goes in
    # before any test starts one.
    WINEPREFIX=$TWO_MONITOR_PREFIX "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' \
      /v UseXRandR /d N /f >/dev/null 2>&1
    WINEPREFIX=$TWO_MONITOR_PREFIX "$WINESERVER" -w
    touch "$ready"
  fi
  log "two monitors: Xephyr on $TWO_MONITOR_DISPLAY, prefix $TWO_MONITOR_PREFIX"
}

cleanup_processes() {
  if [ -n "${TWO_MONITOR_PREFIX:-}" ] && [ -x "$WINESERVER" ]; then
    WINEPREFIX=$TWO_MONITOR_PREFIX "$WINESERVER" -k 2>/dev/null || true
  fi
  if [ -n "${WINEPREFIX:-}" ] && [ -x "$WINESERVER" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
  local pid
  for pid in "${EMBRIX_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${EMBRIX_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  EMBRIX_PIDS=()
}
