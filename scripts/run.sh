#!/usr/bin/env bash
# Sets up this machine, builds, and opens the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" >/dev/null
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display here: run it on a desktop, or as 'xvfb-run -a $0'." >&2
    exit 1
fi
# The cues are found by bare name in the working directory.
cd "$root/build/cues"
exec "$root/build/app/pythagorean-triples"
