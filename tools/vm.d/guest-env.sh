# Sourced by the jobs inside the emulated PC: the same Wine set-up as the
# 64-bit runs on the host, and a private display whose frame buffer can be
# copied out as an XWD file.
export HOME=/root
export WINEPREFIX=/root/.wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C
export DISPLAY=:1
EMBRIX_FB=/run/fb/Xvfb_screen0

# Starts Xvfb 1024x768x24 on :1; returns non-zero if it does not come up.
start_display() {
  mkdir -p /run/fb
  Xvfb :1 -screen 0 1024x768x24 -nolisten tcp -fbdir /run/fb >/run/xvfb.log 2>&1 &
  EMBRIX_XVFB=$!
  i=0
  while [ ! -S /tmp/.X11-unix/X1 ]; do
    i=$((i + 1))
    [ $i -gt 600 ] && { echo "Xvfb did not start"; cat /run/xvfb.log; return 1; }
    sleep 0.1
  done
}

# save_screen NAME: copies the current frame buffer to $out/NAME.xwd.
save_screen() { cp "$EMBRIX_FB" "$out/$1.xwd"; }

# Lets the kernel start Windows programs through Wine, as ctest does for
# the 32-bit build's test commands.
register_pe_loader() {
  modprobe binfmt_misc 2>/dev/null
  mountpoint -q /proc/sys/fs/binfmt_misc ||
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
  [ -e /proc/sys/fs/binfmt_misc/embrix-pe ] ||
    echo ':embrix-pe:M::MZ::/usr/bin/wine:' >/proc/sys/fs/binfmt_misc/register
}

# One persistent server for the whole job, and Wine's own background
# programs started now with nowhere to write: they outlive every program and
# would otherwise hold a caller's pipe open for good.
start_wine() {
  wineserver -p
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}

stop_display() {
  wineserver -k 2>/dev/null
  [ -n "${EMBRIX_XVFB:-}" ] && kill "$EMBRIX_XVFB" 2>/dev/null
  wait 2>/dev/null
}
