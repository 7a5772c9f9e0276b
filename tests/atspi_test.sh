#!/bin/sh
# Starts the program on the X display inside a private D-Bus session with the accessibility bus
# running, then lets the AT-SPI walker read it and end it with Exit and Yes. Skips where any piece
# is missing.
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
    if [ $status -ne 0 ]; then kill $app 2>/dev/null || true; exit $status; fi
    # Yes has been pressed: the program must be gone, with status 0, at once.
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 $app 2>/dev/null || break; sleep 0.2; done
    if kill -0 $app 2>/dev/null; then kill $app; echo "FAIL: the program did not end on Yes"; exit 1; fi
    ended=0
    wait $app || ended=$?
    [ $ended -eq 0 ] || { echo "FAIL: the program ended with status $ended"; exit 1; }
    echo "atspi: the program ended on Yes with status 0"
' "$program" "$walker"
