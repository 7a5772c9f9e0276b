#!/usr/bin/env bash
# Sets up this machine, builds, and runs every test with a virtual X display and a private
# PulseAudio server whose only output is a null sink: once on the normal build, and once more
# on a build with AddressSanitizer and UndefinedBehaviorSanitizer. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --tests
"$root/scripts/build.sh" "$root/build" -DPT_WERROR=ON
"$root/scripts/build.sh" "$root/build-asan" -DPT_WERROR=ON -DPT_SANITIZE=ON

runtime=$(mktemp -d /tmp/pythagorean-tests.XXXXXX)
chmod 700 "$runtime"
pulse_pid=""
cleanup() {
    [[ -n "$pulse_pid" ]] && kill "$pulse_pid" 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime
export PULSE_SERVER=unix:$runtime/pulse.sock
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --load="module-null-sink sink_name=cues" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$runtime/pulse.sock" \
    --log-target=file:"$runtime/pulse.log" &
pulse_pid=$!
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || echo "warning: the PulseAudio server did not start; sound tests will skip" >&2

suite() {
    local dir=$1
    shift
    (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@")
}

echo "== tests"
suite "$root/build" "$@"
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0 \
    suite "$root/build-asan" -E "packaging|bench_runs" "$@"
