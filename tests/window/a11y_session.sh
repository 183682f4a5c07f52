#!/usr/bin/env bash
# Runs a command as on a screen reader's desktop: a virtual X display, a D-Bus session of its
# own with the accessibility bus (AT-SPI) started in it, and Qt's accessibility switched on for
# the programs the command starts. Exits 77 (skipped) when Xvfb, D-Bus or the accessibility
# bus cannot be had.
set -u
launcher=/usr/libexec/at-spi-bus-launcher

if [ "${1:-}" = --in-session ]; then
  shift
  # The session bus starts the accessibility bus's launcher when it is first asked for.
  started=
  for _ in $(seq 100); do
    if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; then
      started=1
      break
    fi
    sleep 0.1
  done
  if [ -z "$started" ]; then
    echo "the accessibility bus did not start: skipped"
    exit 77
  fi
  export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  "$@"
  exit $?
fi

for tool in Xvfb dbus-run-session dbus-send "$launcher"; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed: skipped"
    exit 77
  fi
done
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../../tools/xvfb-display.sh"
if ! start_xvfb_display "$work" 1280x1024; then
  echo "Xvfb did not start: skipped"
  exit 77
fi
# The accessibility bus keeps its socket under the runtime folder: one of our own.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-run-session -- bash "$0" --in-session "$@" 2> >(grep -v "Failed to set fd limit" >&2)
