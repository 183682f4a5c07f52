# Sourced by tools/test-windows.sh and tools/perf-windows.sh: builds the Windows program, then
# starts what running it needs: a display of its own (Xvfb), a fresh Wine prefix for this run
# and one persistent wineserver, all ended when the calling script exits.
# Expects $here (the source tree). Sets $build (the build folder whose programs run), $wine
# (the Wine loader) and exports WINEARCH, WINEPREFIX, LUMERA_WINE and DISPLAY.
#
# The 32-bit build (build-windows/) runs in a 32-bit prefix. Where the kernel cannot execute
# 32-bit Linux programs (some sandboxes), wine32 cannot start at all; then the same sources are
# also built for 64-bit Windows (build-windows-x64/) and that build runs under wine64.
# LUMERA_WINDOWS_ARCH=x86 or x64 forces the choice.

wine_session_name="${wine_session_name:-wine-session}"
bash "$here/tools/build-windows.sh"

arch="${LUMERA_WINDOWS_ARCH:-}"
reason="LUMERA_WINDOWS_ARCH=$arch"
if [ -z "$arch" ]; then
  if timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=x86; else arch=x64; fi
  reason="32-bit programs cannot run on this machine"
fi
if [ "$arch" = x64 ]; then
  echo "$wine_session_name: $reason; using the 64-bit build under wine64"
  LUMERA_WINDOWS_ARCH=x64 bash "$here/tools/build-windows.sh"
  build="${LUMERA_WINDOWS_X64_BUILD_DIR:-$here/build-windows-x64}"
  export WINEARCH=win64 LUMERA_WINE=/usr/lib/wine/wine64
else
  build="${LUMERA_WINDOWS_BUILD_DIR:-$here/build-windows}"
  export WINEARCH=win32 LUMERA_WINE=/usr/bin/wine
fi
wine="$LUMERA_WINE"

wine_session_run=$(mktemp -d /tmp/lumera-wine-XXXXXX)
wine_session_xvfb=
wine_session_end() {
  wineserver -k 2>/dev/null || true
  [ -n "$wine_session_xvfb" ] && kill "$wine_session_xvfb" 2>/dev/null || true
  rm -rf "$wine_session_run"
}
trap wine_session_end EXIT

export WINEPREFIX="$wine_session_run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Windows-1252 is the ANSI code page of an English locale; Wine takes it from the C library's.
export LC_ALL=C.UTF-8 LANG=C.UTF-8

# A display of our own.
source "$here/tools/xvfb-display.sh"
if ! start_xvfb_display "$wine_session_run" 1024x768; then
  wine_session_xvfb=$xvfb_pid
  echo "$wine_session_name: Xvfb did not start" >&2
  exit 1
fi
wine_session_xvfb=$xvfb_pid

# The prefix, made once for the run.
wine_session_started=$(date +%s)
if ! timeout 180 "$wine" wineboot -i </dev/null >"$wine_session_run/wineboot.log" 2>&1; then
  cat "$wine_session_run/wineboot.log" >&2
  exit 1
fi
timeout 60 wineserver -w
# Debian's Wine does not find the fonts of fonts-wine by itself.
ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Without a window manager Wine draws the frame itself and the X window is the whole window.
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
# With mshtml off .html has no association; this one hands it to xdg-open.
timeout 60 "$wine" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null
timeout 60 wineserver -w
echo "$wine_session_name: Wine prefix ready in $(( $(date +%s) - wine_session_started )) s ($WINEPREFIX, display $DISPLAY)"

# One warm wineserver for the whole run.
wineserver -p 900
timeout 60 "$wine" wineboot </dev/null >/dev/null 2>&1 || true
