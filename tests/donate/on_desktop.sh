#!/usr/bin/env bash
# Runs a test program on a virtual X display with a window manager, where windows get real
# frames and title bars as on a player's desktop. Exits 77 (skipped) without Xvfb or openbox.
set -u
program=$1
shift
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v openbox >/dev/null 2>&1; then
  echo "Xvfb or openbox is not installed: skipped"
  exit 77
fi
work=$(mktemp -d)
xvfb_pid=
wm=
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../../tools/xvfb-display.sh"
if ! start_xvfb_display "$work" 1280x1024; then
  echo "Xvfb did not start"
  exit 1
fi
# Windows mapped before the window manager runs would not be framed: wait until it is ready.
openbox --startup "touch $work/ready" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do
  [ -e "$work/ready" ] && break
  sleep 0.1
done
if [ ! -e "$work/ready" ]; then
  echo "openbox did not start:"
  cat "$work/openbox.log"
  exit 1
fi
QT_QPA_PLATFORM=xcb "$program" "$@"
