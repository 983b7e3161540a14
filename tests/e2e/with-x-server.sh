#!/usr/bin/env bash
# Runs a command on a private X server of its own (Xvfb) with a window manager (openbox), so
# end-to-end tests meet the keymap, input focus and timers a desktop has, without touching any
# display the machine already shows.
# Usage: with-x-server.sh command [args...]
set -euo pipefail

work="$(mktemp -d)"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=("$!")
for _ in $(seq 200); do
    if grep -q '^[0-9]' "$work/display" 2>/dev/null; then
        break
    fi
    sleep 0.05
done
if ! grep -q '^[0-9]' "$work/display"; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
# The X keymap library hands strndup() buffers with no terminating zero. strndup() stops at its
# length, but AddressSanitizer's strict string checks read on to the zero and report it.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi

openbox --sm-disable >"$work/wm.log" 2>&1 &
pids+=("$!")
# The window manager is up once it has claimed the screen.
for _ in $(seq 200); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        break
    fi
    sleep 0.05
done

# The pointer waits in a corner, so no button sits highlighted under it in the screenshots.
xdotool mousemove 1279 1023 >/dev/null 2>&1 || true

"$@"
