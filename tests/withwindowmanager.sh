#!/bin/sh
# Runs a test program under a window manager, on an X server of its own: the
# suites share one X server and run side by side, and a window manager there
# would move and decorate their windows too.
#   withwindowmanager.sh PROGRAM [ARGUMENTS...]
set -eu
if [ "${1:-}" != "--inside" ]; then
    # xvfb-run -a takes the first free display, whatever display is in use.
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi
shift
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
# The window manager is up once it has named its check window on the root.
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ] || ! kill -0 $wm 2>/dev/null; then
        echo "withwindowmanager: the window manager did not start" >&2
        exit 1
    fi
    sleep 0.1
done
VELMORA_TEST_WINDOW_MANAGER=1 "$@"
