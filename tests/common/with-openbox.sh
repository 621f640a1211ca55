#!/usr/bin/env bash
# Runs a test program under a window manager on the current X display, as a
# desktop user has one: new windows are activated and take the focus, and
# disabled windows refuse it. The window manager is ended with the command.
#   with-openbox.sh COMMAND [ARGS...]
set -u
if [ -z "${DISPLAY:-}" ]; then
  echo "with-openbox.sh: no DISPLAY" >&2
  exit 2
fi
if ! command -v openbox >/dev/null; then
  echo "with-openbox.sh: openbox is not installed" >&2
  exit 2
fi
config=$(mktemp -d)
trap 'kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null; rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# Wait until the window manager has taken the display.
for _ in $(seq 1 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    break
  fi
  sleep 0.05
done
D390_WINDOW_MANAGER=openbox "$@"
