#!/usr/bin/env bash
# Builds the Windows program (tools/build-windows.sh) and runs its tests under Wine in Xvfb: a
# fresh Wine prefix for this run, one persistent wineserver, ctest in the build folder.
# Extra arguments go to ctest (for example -R Registry).
#
# The tests run the 32-bit build (build-windows/) in a 32-bit prefix. Where the kernel cannot
# execute 32-bit Linux programs (some sandboxes), wine32 cannot start at all; then the same
# sources are also built for 64-bit Windows (build-windows-x64/) and the tests run that build
# under wine64. LUMERA_WINDOWS_ARCH=x86 or x64 forces the choice.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tools/build-windows.sh"

arch="${LUMERA_WINDOWS_ARCH:-}"
if [ -z "$arch" ]; then
  if timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=x86; else arch=x64; fi
fi
if [ "$arch" = x64 ]; then
  echo "test-windows.sh: 32-bit programs cannot run on this machine; testing the 64-bit build under wine64"
  LUMERA_WINDOWS_ARCH=x64 bash "$here/tools/build-windows.sh"
  build="${LUMERA_WINDOWS_X64_BUILD_DIR:-$here/build-windows-x64}"
  export WINEARCH=win64 LUMERA_WINE=/usr/lib/wine/wine64
else
  build="${LUMERA_WINDOWS_BUILD_DIR:-$here/build-windows}"
  export WINEARCH=win32 LUMERA_WINE=/usr/bin/wine
fi
wine="$LUMERA_WINE"

run=$(mktemp -d /tmp/lumera-wine-XXXXXX)
xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT

export WINEPREFIX="$run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Windows-1252 is the ANSI code page of an English locale; Wine takes it from the C library's.
export LC_ALL=C.UTF-8 LANG=C.UTF-8

# A display of our own: Xvfb picks a free number and writes it to the descriptor we give.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$run/display" ] && break
  sleep 0.1
done
[ -s "$run/display" ] || { echo "test-windows.sh: Xvfb did not start" >&2; cat "$run/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$run/display")"

# The prefix, made once for the run.
started=$(date +%s)
timeout 180 "$wine" wineboot -i </dev/null >"$run/wineboot.log" 2>&1 || { cat "$run/wineboot.log" >&2; exit 1; }
timeout 60 wineserver -w
# Debian's Wine does not find the fonts of fonts-wine by itself.
ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Without a window manager Wine draws the frame itself and the X window is the whole window.
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
# With mshtml off .html has no association; this one hands it to xdg-open.
timeout 60 "$wine" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null
timeout 60 wineserver -w
echo "test-windows.sh: Wine prefix ready in $(( $(date +%s) - started )) s ($WINEPREFIX, display $DISPLAY)"

# One warm wineserver for every test of the run.
wineserver -p 600
timeout 60 "$wine" wineboot </dev/null >/dev/null 2>&1 || true

ctest --test-dir "$build" --output-on-failure --timeout 180 -j "${LUMERA_JOBS:-2}" "$@"
