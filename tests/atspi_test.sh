#!/bin/sh
# Starts the program on the X display inside a private D-Bus session with the accessibility bus
# running, then lets the AT-SPI walker read it. Skips where any piece is missing.
set -eu
program=$1
walker=$2
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
command -v dbus-run-session >/dev/null || { echo "no D-Bus: skipped"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "no python3-pyatspi: skipped"; exit 77; }
exec dbus-run-session -- sh -c '
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
        { echo "the accessibility bus does not start: skipped"; exit 77; }
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$0" &
    app=$!
    status=0
    /usr/bin/python3 "$1" || status=$?
    kill $app 2>/dev/null || true
    exit $status
' "$program" "$walker"
