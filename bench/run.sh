#!/usr/bin/env bash
# Builds the benchmarks in Release and prints their figures, on a real X server where one exists.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The build folder may be moved elsewhere, e.g. SUMDASH_BENCH_BUILD=/tmp/bench bench/run.sh.
BUILD_DIR="${SUMDASH_BENCH_BUILD:-$SUMDASH_ROOT/build-bench}"

run_benchmarks() {
    echo "== Keystroke: Enter to the next problem on screen"
    "$BUILD_DIR/bench/keystroke_bench"
    echo
    echo "== Start-up: to the first window on screen, and resident memory"
    "$BUILD_DIR/bench/startup_bench"
    echo
    echo "== Records: the club board on a large club, and ranking a top time"
    "$BUILD_DIR/bench/records_bench"
}

# Inside xvfb-run: only the measuring part.
if [ "${1:-}" = "--measure-only" ]; then
    run_benchmarks
    exit 0
fi

echo "== Building the benchmarks (Release) in $BUILD_DIR"
cmake -S "$SUMDASH_ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DSUMDASH_SANITIZE=OFF \
    -DSUMDASH_BUILD_TESTS=ON -DSUMDASH_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target keystroke_bench startup_bench records_bench >/dev/null

# Qt wants a private runtime folder; a throwaway one keeps its warning out of the figures.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

if [ -n "${QT_QPA_PLATFORM:-}" ]; then
    echo "== Measuring on the platform asked for: QT_QPA_PLATFORM=$QT_QPA_PLATFORM"
    run_benchmarks
elif [ -n "${DISPLAY:-}" ]; then
    echo "== Measuring on the X display $DISPLAY"
    run_benchmarks
elif command -v xvfb-run >/dev/null 2>&1; then
    echo "== No display: measuring on a virtual X server (xvfb-run, 1280x1024x24)"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --measure-only
else
    echo "== No display and no xvfb-run: measuring offscreen (QT_QPA_PLATFORM=offscreen)."
    echo "   These figures leave out the window system; install xvfb for real X figures."
    export QT_QPA_PLATFORM=offscreen
    run_benchmarks
fi
